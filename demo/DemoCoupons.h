#pragma once

#include <QDate>

namespace vx {
class Connection;
}

namespace demo {

// The bank's side of a shop day: the coupons presented whose crediting date has come are marked
// credited, as the operator does in the coupon portfolio.
void creditCouponsDay(vx::Connection &connection, const QDate &day);

}  // namespace demo
