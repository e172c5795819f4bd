#include "sales/ArticleLists.h"

#include "platform/db/Connection.h"

#include <QSqlQuery>

namespace {

QStringList column(vx::Connection &connection, const QString &name, int &read, const std::function<void(int)> &progress)
{
    QSqlQuery query = connection.execute(QStringLiteral("SELECT %1 FROM STOCK ORDER BY %1").arg(name));
    QStringList texts;
    while (query.next()) {
        texts << query.value(0).toString();
        if (progress && ++read % 5000 == 0)
            progress(read);
    }
    return texts;
}

}  // namespace

sales::ArticleLists sales::readArticleLists(vx::Connection &connection, const std::function<void(int)> &progress)
{
    int read = 0;
    ArticleLists lists;
    lists.codes = column(connection, QStringLiteral("ARTCMCT"), read, progress);
    lists.descriptions = column(connection, QStringLiteral("ARTDES"), read, progress);
    lists.origins = column(connection, QStringLiteral("ARTCOD"), read, progress);
    return lists;
}
