#pragma once

#include "platform/db/DayRange.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class QLineEdit;
class QWidget;

namespace vx {
class Dataset;
}

// What the query windows share beside their statements: date boxes read as a day range, totals
// boxes, and the spreadsheet export of the list shown.
namespace app {

// Leaving a date box: an empty box takes `whenEmpty` (a null date leaves it empty), a date is
// rewritten dd/mm/yyyy. Text that is not a date is left as typed, its message shown; false then.
bool normaliseDateBox(QLineEdit *box, const QDate &whenEmpty, QWidget *parent);

// The range two date boxes give, empty boxes taking their defaults; both boxes are rewritten.
// nullopt, with the message shown, when either is not a date.
std::optional<vx::DayRange> readDays(QLineEdit *from, QLineEdit *to, const QDate &fromDefault, const QDate &toDefault,
                                     QWidget *parent);

struct ExportColumn {
    QString field;
    QString title;
};

// Exports the list as it stands (order and filter) to a spreadsheet the operator names in the
// save dialog, titled `title`; "Exportación Terminada." at the end. Cancelling the dialog does
// nothing; a failure shows its message.
void exportList(QWidget *parent, vx::Dataset &list, const QString &title, const QList<ExportColumn> &columns);

// The text of a total in the shop's fixed format with two decimals, optionally grouped.
QString totalText(double value, bool grouped = false);

}  // namespace app
