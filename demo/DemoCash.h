#pragma once

#include <QDate>

namespace vx {
class Connection;
}

namespace demo {

// The till of a shop day, after the counter sold: now and then money put in or taken out by an
// adjustment, and on Saturday evening the cash closed, a float kept for Monday.
void cashDay(vx::Connection &connection, const QDate &day);

// The adjustment of the day, in cents, signed (0: none), as cashDay records it.
qint64 cashAdjustmentCents(const QDate &day);

// What the closings keep in the till for the next period.
inline constexpr qint64 floatCents = 50000;

}  // namespace demo
