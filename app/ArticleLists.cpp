#include "app/ArticleLists.h"

#include "platform/db/Connection.h"

#include <QSqlQuery>

namespace {

QStringList column(vx::Connection &connection, const QString &name, const std::function<void(int)> &progress)
{
    QSqlQuery query = connection.execute(QStringLiteral("SELECT %1 FROM STOCK ORDER BY %1").arg(name));
    QStringList texts;
    int row = 0;
    while (query.next()) {
        texts << query.value(0).toString();
        if (progress && ++row % 5000 == 0)
            progress(row);
    }
    return texts;
}

}  // namespace

app::ArticleLists app::readArticleLists(vx::Connection &connection, const std::function<void(int)> &progress)
{
    ArticleLists lists;
    lists.codes = column(connection, QStringLiteral("ARTCMCT"), progress);
    lists.descriptions = column(connection, QStringLiteral("ARTDES"), progress);
    lists.origins = column(connection, QStringLiteral("ARTCOD"), progress);
    return lists;
}
