#pragma once

#include <QString>

#include <stdexcept>

namespace vx {
class Connection;
}

namespace sales {

// What the card tender window read from its boxes when the operator confirmed the coupon.
struct CouponEntry {
    QString dateText;      // EdFec, the sale's date (short date)
    QString receiptNumber; // EdFac, the sale's receipt number as the sales window held it
    QString cardName;      // CBTarj
    QString couponNumber;  // EdCupon
    QString amountText;    // EdImp
};

// The coupon could not be stored; nothing of it was.
class CouponRecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // The operator's message, keeping the underlying cause.
    static CouponRecordingError failed(const QString &cause);
    QString cause() const { return m_cause; }

private:
    QString m_cause;
};

// Writes one card coupon into CUPONES, state "P", in its own transaction, and returns its key
// (CUPONES.Id). When the card is in TARJETAS the coupon carries its code, term and account, and
// the crediting date is the sale date plus the term. Throws CouponRecordingError when the date
// or the amount does not convert or the database fails.
qint64 recordCoupon(vx::Connection &connection, const CouponEntry &entry);

} // namespace sales
