#pragma once

#include <QDate>
#include <QString>

#include <stdexcept>

namespace vx {
class Connection;
}

// The cash book of the open period (CAJA) in figures, apart from any window: every window and
// report of the cash reads its totals here, so that they all count the same rows the same way.
// Amounts are added in whole cents, so that a thousand rows of 0,10 make exactly 100,00.
namespace cash {

// An amount to the cent, half away from zero, as the boxes show it.
qint64 toCents(double amount);
double fromCents(qint64 cents);
// Fixed, two decimals, decimal comma ("1300,10").
QString centsText(qint64 cents);

struct CashFigures {
    qint64 openingCents = 0; // the sum of the opening-balance rows "S"
    qint64 cashCents = 0;    // "EF" rows of kind "I", "E" or "J": the cash the period moved
    qint64 cardCents = 0;    // "I" rows of "TT": card takings
    // What the figures were read from, so that a closing can tell whether the cash book changed
    // under it: the highest row key read (0 for an empty book) and how many rows there were.
    qint64 lastRow = 0;
    qint64 rows = 0;
    // The highest key of the closing history's closing rows when the figures were read.
    qint64 lastClosing = 0;

    // Cash in the till: the opening balance and the period's cash.
    qint64 tillCents() const { return openingCents + cashCents; }
};

// The figures of the whole open period, read in one statement.
CashFigures readCashFigures(vx::Connection &connection);

// The cash and card rows written (CAJFEC) from `from` to `to`, both days whole.
struct PeriodFigures {
    qint64 cashCents = 0;
    qint64 cardCents = 0;
};
PeriodFigures readPeriodFigures(vx::Connection &connection, const QDate &from, const QDate &to);

// The filter text of a range of whole days on a date column: from the first day's start to
// before the day after the last, so that a row written at any hour of the last day is inside.
QString dayRangeFilter(const QString &column, const QDate &from, const QDate &to);

// The amounts the closings moved to the central cash (CAJAD rows with an entry date) from `from`
// to `to`, whole days; supplier payments from the central cash carry only an exit date.
qint64 closingWithdrawalsCents(vx::Connection &connection, const QDate &from, const QDate &to);

// A cash recording that stored nothing; the message is the operator's, the cause kept apart.
class CashError : public std::runtime_error {
public:
    enum class Kind {
        Invalid,        // a value the operator typed is refused; nothing was tried
        ClosedElsewhere,// another workstation closed the cash meanwhile
        Failed,         // the database refused; everything was rolled back
    };
    CashError(Kind kind, const QString &message, const QString &cause = {});
    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }
    QString cause() const { return m_cause; }

private:
    Kind m_kind;
    QString m_cause;
};

} // namespace cash
