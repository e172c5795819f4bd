#pragma once

#include "cash/CashFigures.h"

#include <QDate>

#include <optional>

namespace vx {
class Connection;
}

namespace cash {

// What the closing window read from its boxes, and the figures it showed the operator.
struct ClosingRequest {
    QDate closingDate;                  // EdFec
    qint64 withdrawalCents = 0;         // EdRET: what goes to the central cash
    std::optional<qint64> openingCents; // EdAPER; none: the next period starts without an opening row
    QDate openingDate;                  // EdFec2, needed with an opening
    CashFigures figures;
};

// What a closing recorded, for whoever acts after it (a copy of the database, a message).
struct ClosedCash {
    QDate closingDate;
    qint64 withdrawalCents = 0;
    std::optional<qint64> openingCents;
    QDate openingDate;
    qint64 rowsClosed = 0; // cash-book rows of the period taken out
};

// The message shown when another workstation closed the cash since the figures were read.
QString closedElsewhereMessage();

// Closes the cash in one transaction: the withdrawal goes to the central cash (CAJAD), the rows
// the figures were read from leave the cash book, and the next period's opening row is written.
// Rows recorded meanwhile at other counters stay for the next period. When a row of the till the
// figures counted is gone, or another closing was recorded since, nothing is written
// (CashError::ClosedElsewhere). Withdrawal and opening must add up to the till. Throws CashError;
// on failure nothing is stored.
ClosedCash closeCash(vx::Connection &connection, const ClosingRequest &request);

} // namespace cash
