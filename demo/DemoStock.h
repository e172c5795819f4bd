#pragma once

#include <QDate>

namespace vx {
class Connection;
}

namespace demo {

// The store room's day: on Mondays the supplier's delivery is received into both locations at
// the new season's costs, for the articles running short in the shop; now and then a few units
// leave location 2 as samples for a customer. Recorded as the receipt and issue windows record.
void stockDay(vx::Connection &connection, const QDate &day);

}  // namespace demo
