#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/PrefixListModel.h"

#include <QComboBox>
#include <QStringList>

#include <functional>

class QCompleter;
class QStringListModel;

namespace vx {
class Connection;
class Dataset;
}

namespace vx::ui {

// An editable drop-down list. It holds its items in one of two ways:
// - given items (setItems): a list model filled at once, kept sorted without regard to case when
//   the list is sorted, and completed as the operator types by a binary search over that order;
// - asked of the database (askDatabase), for lists as long as a shop's catalogue: the first page of
//   the column's texts that begin with the typed text is read at every key when the list completes
//   inline, and otherwise only when the operator or the program looks at the items (a key that
//   moves through them, the drop-down, items()), so that a scanned code costs no query per digit.
//   Opening the drop-down reads it again (from the first text when the box holds one the program
//   put there), so the list is as current as the database and as cheap as a page.
class VXPLATFORM_EXPORT PickList : public QComboBox {
    Q_OBJECT
public:
    explicit PickList(QWidget *parent = nullptr);

    // From now on the items are asked of the database (the first page is read at once). Asking
    // again for the same connection and column only reads the page again.
    void askDatabase(Connection *connection, const PickSource &source);
    bool asksDatabase() const { return m_prefixModel != nullptr; }
    // Reads the items for the typed text again (asked lists); drops nothing of given items.
    void refresh();

    // Replaces the items of a given list (sorted when the list is sorted); the typed text stays.
    void setItems(QStringList items);
    // The items the list holds now (for an asked list, the page for the typed text, read now if
    // it was not yet).
    QStringList items();
    // Adds one item to a given list, at its place in the order when the list is sorted.
    void addText(const QString &text);
    // Removes every item (an asked list reads its page again when the text changes); the typed
    // text stays.
    void clearItems();

    bool isSorted() const { return m_sorted; }
    void setSorted(bool sorted);
    // Completes the typed text with the first item that begins with it.
    bool autoComplete() const { return m_autoComplete; }
    void setAutoComplete(bool on);
    void setUpperCase(bool upper);
    void setMaxLength(int length);

    QStringListModel *listModel() const { return m_model; }

    void showPopup() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void sortItems(QStringList &list) const;
    // An asked list: the page for the text just typed, and the inline completion.
    void textTyped(const QString &text);
    void readPageKeepingText(const QString &prefix);
    // Reads the page for the typed text if a key changed it since the last read.
    void readPageIfTyped();

    QStringListModel *m_model;
    PrefixListModel *m_prefixModel = nullptr;
    int m_lastKey = 0;
    QString m_typed;  // the text as the operator last typed it
    bool m_pageBehind = false;  // typed since the page was read
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
