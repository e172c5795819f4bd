#pragma once

#include "platform/VxPlatformExport.h"
// DataSource.h needs the complete Dataset for its inline accessor.
#include "platform/db/Dataset.h"
#include "platform/db/DataSource.h"

#include <QFlags>
#include <QHash>
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace vx {
class Dataset;
}  // namespace vx

namespace vx::ui {

enum class NavigatorButton {
    First = 0x001,
    Prior = 0x002,
    Next = 0x004,
    Last = 0x008,
    Insert = 0x010,
    Delete = 0x020,
    Edit = 0x040,
    Post = 0x080,
    Cancel = 0x100,
    Refresh = 0x200,
};
Q_DECLARE_FLAGS(NavigatorButtons, NavigatorButton)

// A row of buttons that moves and edits a data source's dataset: first, prior, next, last,
// insert, delete, edit, post, cancel, refresh, each shown or not, each with its hint. Buttons are
// enabled as the dataset allows (no "next" at the end, "post" only while editing). A failure is
// shown to the operator; deleting asks first unless told not to.
class VXPLATFORM_EXPORT DBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit DBNavigator(QWidget *parent = nullptr);

    DataSource *dataSource() const { return m_source; }
    void setDataSource(DataSource *source);

    NavigatorButtons visibleButtons() const { return m_visible; }
    void setVisibleButtons(NavigatorButtons buttons);
    QString hint(NavigatorButton button) const;
    void setHint(NavigatorButton button, const QString &hint);
    bool confirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

    QToolButton *button(NavigatorButton button) const { return m_buttons.value(button); }
    // Does what pressing the button does.
    void click(NavigatorButton button);

signals:
    // A button's action was done (or failed and was shown).
    void clicked(vx::ui::NavigatorButton button);

private:
    void act(Dataset &dataset, NavigatorButton button);
    void updateButtons();

    QPointer<DataSource> m_source;
    QList<QMetaObject::Connection> m_connections;
    QHash<NavigatorButton, QToolButton *> m_buttons;
    NavigatorButtons m_visible;
    bool m_confirmDelete = true;
};

}  // namespace vx::ui

Q_DECLARE_OPERATORS_FOR_FLAGS(vx::ui::NavigatorButtons)
