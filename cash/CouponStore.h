#pragma once

#include <QString>

namespace vx {
class Connection;
}

// The coupon portfolio's changes, each in one short transaction. They throw cash::BankError.
namespace cash {

// Presented coupons become credited, any other state becomes presented; returns the new state.
QString toggleCouponState(vx::Connection &connection, qint64 id);
void deleteCoupon(vx::Connection &connection, qint64 id);
// Deletes, all or nothing, the coupons credited at this moment; returns how many.
int deleteCreditedCoupons(vx::Connection &connection);

} // namespace cash
