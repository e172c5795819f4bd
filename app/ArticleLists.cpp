#include "app/ArticleLists.h"

#include "platform/db/Connection.h"
#include "platform/ui/PickList.h"

#include <QSqlQuery>

namespace {

QString columnName(app::ArticleColumn column)
{
    switch (column) {
    case app::ArticleColumn::OwnCode: return QStringLiteral("ARTCMCT");
    case app::ArticleColumn::Description: return QStringLiteral("ARTDES");
    case app::ArticleColumn::Origin: return QStringLiteral("ARTCOD");
    }
    return {};
}

}  // namespace

void app::askArticleLists(vx::Connection &connection, vx::ui::PickList *codes, vx::ui::PickList *descriptions,
                          vx::ui::PickList *origins)
{
    const QString stock = QStringLiteral("STOCK");
    if (codes)
        codes->askDatabase(&connection, {stock, columnName(ArticleColumn::OwnCode)});
    if (descriptions)
        descriptions->askDatabase(&connection, {stock, columnName(ArticleColumn::Description)});
    if (origins)
        origins->askDatabase(&connection, {stock, columnName(ArticleColumn::Origin)});
}

std::optional<app::Article> app::findArticle(vx::Connection &connection, ArticleColumn column, const QString &text,
                                             ArticleMatch match)
{
    const QString name = columnName(column);
    // Ordered by the searched column first, so that both engines stay on its index.
    const QString condition = match == ArticleMatch::Exact ? QStringLiteral("%1 = ?").arg(name)
                                                           : QStringLiteral("%1 >= ? AND %1 < ?").arg(name);
    QVariantList params{text};
    if (match == ArticleMatch::Prefix)
        params << text + QString::fromUcs4(U"\U0010FFFF");
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("SELECT ARTCMCT, ARTDES, ARTCOD, ARTEX1, ARTVEN1, ARTVEN2, ARTVEN3, ARTVEN4 FROM STOCK "
                       "WHERE %1 ORDER BY %2, ARTUNO LIMIT 1")
            .arg(condition, name),
        params);
    std::optional<Article> found;
    if (query.next()) {
        Article article;
        article.ownCode = query.value(0).toString();
        article.description = query.value(1).toString();
        article.origin = query.value(2).toString();
        article.stock1 = query.value(3).toDouble();
        for (int i = 0; i < 4; ++i)
            article.prices[size_t(i)] = query.value(4 + i).toDouble();
        found = article;
    }
    query.finish();
    return found;
}
