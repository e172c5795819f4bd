#include "cash/CouponStore.h"

#include "cash/BankStore.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QSqlQuery>

namespace cash {

namespace {

const QString failedMessage = QStringLiteral("No se pudo completar el proceso.");

template <typename Steps>
auto written(vx::Connection &connection, Steps steps)
{
    try {
        vx::Transaction transaction(connection);
        auto result = steps();
        transaction.commit();
        return result;
    } catch (const vx::DbError &error) {
        throw BankError(failedMessage + QStringLiteral("\r\n") + error.message());
    }
}

} // namespace

QString toggleCouponState(vx::Connection &connection, qint64 id)
{
    return written(connection, [&] {
        // Decided on the stored state, so a change made at another counter is not undone blindly.
        const QVariant state = connection.scalar(QStringLiteral("SELECT CUPEST FROM CUPONES WHERE Id = ?"), {id});
        if (!state.isValid())
            throw vx::DbError(QStringLiteral("El cupón ya no existe."));
        const QString next = state.toString() == QLatin1String("P") ? QStringLiteral("A") : QStringLiteral("P");
        connection.execute(QStringLiteral("UPDATE CUPONES SET CUPEST = ? WHERE Id = ?"), {next, id});
        return next;
    });
}

void deleteCoupon(vx::Connection &connection, qint64 id)
{
    written(connection, [&] {
        connection.execute(QStringLiteral("DELETE FROM CUPONES WHERE Id = ?"), {id});
        return 0;
    });
}

int deleteCreditedCoupons(vx::Connection &connection)
{
    return written(connection, [&] {
        return connection.execute(QStringLiteral("DELETE FROM CUPONES WHERE CUPEST = ?"), {QStringLiteral("A")})
            .numRowsAffected();
    });
}

} // namespace cash
