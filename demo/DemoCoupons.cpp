#include "demo/DemoCoupons.h"

#include "cash/CouponStore.h"
#include "platform/db/Connection.h"

#include <QSqlQuery>

namespace demo {

void creditCouponsDay(vx::Connection &connection, const QDate &day)
{
    QList<qint64> due;
    QSqlQuery query = connection.execute(QStringLiteral("SELECT Id, CUPFAC FROM CUPONES WHERE CUPEST = 'P' ORDER BY Id"));
    while (query.next()) {
        const QVariant credited = connection.dialect().fromDatabase(query.value(1), vx::FieldType::DateTime);
        if (!credited.isNull() && credited.toDateTime().date() <= day)
            due << query.value(0).toLongLong();
    }
    for (const qint64 coupon : due)
        cash::toggleCouponState(connection, coupon);
}

}  // namespace demo
