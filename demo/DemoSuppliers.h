#pragma once

#include <QDate>

namespace vx {
class Connection;
}

namespace demo {

// The supplier side of a shop day: three suppliers the shop buys from; on Mondays each sends an
// invoice, on Fridays one of them is paid (in turn) from the central cash, the oldest invoice
// first: one in full, one in part, and once more than was owed, which leaves a credit.
void suppliersDay(vx::Connection &connection, const QDate &day);

}  // namespace demo
