#pragma once

#include "platform/VxPlatformExport.h"

#include <QComboBox>
#include <QStringList>

#include <functional>

class QCompleter;
class QStringListModel;

namespace vx {
class Dataset;
}

namespace vx::ui {

// An editable drop-down list for long lists (every article code of a big shop): the items live in
// a list model that is filled at once, kept sorted without regard to case when the list is
// sorted, and completed as the operator types by a binary search over that order. Fill it with
// setItems, not item by item.
class VXPLATFORM_EXPORT PickList : public QComboBox {
    Q_OBJECT
public:
    explicit PickList(QWidget *parent = nullptr);

    // Replaces the items (sorted when the list is sorted); the typed text stays.
    void setItems(QStringList items);
    QStringList items() const;
    // Adds one item, at its place in the order when the list is sorted.
    void addText(const QString &text);
    // Removes every item; the typed text stays.
    void clearItems();

    bool isSorted() const { return m_sorted; }
    void setSorted(bool sorted);
    // Completes the typed text with the first item that begins with it.
    bool autoComplete() const { return m_autoComplete; }
    void setAutoComplete(bool on);
    void setUpperCase(bool upper);
    void setMaxLength(int length);

    QStringListModel *listModel() const { return m_model; }

private:
    void sortItems(QStringList &list) const;

    QStringListModel *m_model;
    QCompleter *m_completer;
    bool m_sorted = true;
    bool m_autoComplete = true;
};

// The texts of some fields for every record of a dataset, one list per field, in the dataset's
// order and filter, read in one pass without moving its cursor (bound controls see nothing).
// `progress` runs with the number of records done so far (for a wait window).
VXPLATFORM_EXPORT QList<QStringList> fieldTexts(Dataset &dataset, const QStringList &fieldNames,
                                                const std::function<void(int recNo)> &progress = {});
VXPLATFORM_EXPORT QStringList fieldTexts(Dataset &dataset, const QString &fieldName,
                                         const std::function<void(int recNo)> &progress = {});

}  // namespace vx::ui
