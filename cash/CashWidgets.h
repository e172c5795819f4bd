#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class QLineEdit;
class QWidget;

namespace app {
struct OwnCursor;
}
namespace vx::ui {
class DBGrid;
class DBNavigator;
struct GridColumn;
} // namespace vx::ui

// The pieces the cash windows share: their boxes, the grid over the cash book and its navigator.
namespace cash {

QLineEdit *readOnlyBox(QWidget *parent, const char *name);
// A box for a date typed day/month/year: digits and "/" only.
QLineEdit *dateBox(QWidget *parent, const char *name, int maxLength = 10);

// The date a box holds as the operator leaves it: empty means today; the text is written back in
// the short date format. A text that is no date is said to the operator and gives nothing.
std::optional<QDate> leaveDateBox(QLineEdit *box);

// The cash book's columns, with the titles of the window showing them.
QList<vx::ui::GridColumn> cashBookColumns(const QString &amountTitle);
vx::ui::DBGrid *cashBookGrid(QWidget *parent, app::OwnCursor &book, const QString &amountTitle);
vx::ui::DBNavigator *moveNavigator(QWidget *parent, app::OwnCursor &book);

} // namespace cash
