#include "stock/StockArticle.h"

#include "platform/db/Connection.h"

#include <QSqlQuery>

namespace stock {

std::optional<StockArticle> findStockArticle(vx::Connection &connection, app::ArticleColumn column,
                                             const QString &text, app::ArticleMatch match)
{
    const QString name = column == app::ArticleColumn::OwnCode       ? QStringLiteral("ARTCMCT")
                         : column == app::ArticleColumn::Description ? QStringLiteral("ARTDES")
                                                                     : QStringLiteral("ARTCOD");
    // Ordered by the searched column first, so that both engines stay on its index.
    const QString condition = match == app::ArticleMatch::Exact ? QStringLiteral("%1 = ?").arg(name)
                                                                : QStringLiteral("%1 >= ? AND %1 < ?").arg(name);
    QVariantList params{text};
    if (match == app::ArticleMatch::Prefix)
        params << text + QString::fromUcs4(U"\U0010FFFF");
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("SELECT ARTCMCT, ARTDES, ARTEX1, ARTEX2, ARTCOS1, ARTCOS2, ARTVEN1, ARTVEN2, ARTVEN3, ARTVEN4 "
                       "FROM STOCK WHERE %1 ORDER BY %2, ARTUNO LIMIT 1")
            .arg(condition, name),
        params);
    std::optional<StockArticle> found;
    if (query.next()) {
        StockArticle article;
        article.ownCode = query.value(0).toString();
        article.description = query.value(1).toString();
        article.stock1 = query.value(2).toDouble();
        article.stock2 = query.value(3).toDouble();
        article.cost1 = query.value(4).toDouble();
        article.cost2 = query.value(5).toDouble();
        for (int i = 0; i < 4; ++i)
            article.prices[size_t(i)] = query.value(6 + i).toDouble();
        found = article;
    }
    query.finish();
    return found;
}

}  // namespace stock
