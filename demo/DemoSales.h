#pragma once

#include <QDate>

namespace vx {
class Connection;
}

namespace demo {

// A day at the counter: a handful of sales of articles in the shop, some paid by card, some to
// named customers, recorded as the sales window records them. Sundays the shop is closed.
void sellDay(vx::Connection &connection, const QDate &day);

}  // namespace demo
