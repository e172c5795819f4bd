#include "stock/StockUpdate.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

namespace stock {

namespace {

// "+ 0" keeps the engine from walking the whole table in key order to find the lowest key; it
// looks the code up by its index instead.
const QString firstArticle = QStringLiteral(" WHERE ARTUNO = (SELECT MIN(ARTUNO + 0) FROM STOCK WHERE ARTCMCT = ?)");

void run(vx::Connection &connection, const QString &sql, const QVariantList &params, const StockChange &change)
{
    QSqlQuery &query = connection.executeCached(sql + firstArticle + QStringLiteral(" RETURNING ARTUNO"), params);
    connection.noteWrite();
    const bool found = query.next();
    query.finish();
    if (!found) {
        const QString name = change.description.trimmed().isEmpty()
                                 ? change.code
                                 : QStringLiteral("%1 (%2)").arg(change.description.trimmed(), change.code);
        throw vx::DbError(QStringLiteral("El artículo %1 ya no está en el archivo de artículos.").arg(name));
    }
}

}  // namespace

void receiveStock(vx::Connection &connection, const StockChange &change, const QVariant &storedDate, double cost1,
                  double cost2)
{
    run(connection,
        QStringLiteral("UPDATE STOCK SET ARTFEC1 = ?, ARTEX1 = COALESCE(ARTEX1, 0) + ?, ARTCOS1 = ?, "
                       "ARTEX2 = COALESCE(ARTEX2, 0) + ?, ARTCOS2 = ?"),
        {storedDate, change.quantity1, cost1, change.quantity2, cost2, change.code}, change);
}

void issueStock(vx::Connection &connection, const StockChange &change, const QVariant &storedDate, double price2)
{
    const QString lower =
        QStringLiteral("UPDATE STOCK SET ARTFEC2 = ?, ARTEX1 = COALESCE(ARTEX1, 0) - ?, ARTEX2 = COALESCE(ARTEX2, 0) - ?");
    if (price2 == 0)
        run(connection, lower, {storedDate, change.quantity1, change.quantity2, change.code}, change);
    else
        run(connection, lower + QStringLiteral(", ARTVEN2 = ?"),
            {storedDate, change.quantity1, change.quantity2, price2, change.code}, change);
}

}  // namespace stock
