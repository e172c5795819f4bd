#include "platform/db/Totals.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/QueryStatement.h"
#include "platform/db/Table.h"

#include <QSqlRecord>

namespace vx {

QList<double> Totals::sums(Connection &connection, const QString &from, const SqlCondition &where,
                           const QStringList &expressions)
{
    QSqlQuery query = connection.execute(statement(from, where, expressions), where.params);
    QList<double> out;
    const bool row = query.next();
    for (int i = 0; i < expressions.size(); ++i)
        out << (row ? query.value(i).toDouble() : 0.0);
    return out;
}

QString Totals::statement(const QString &from, const SqlCondition &where, const QStringList &expressions)
{
    QStringList list;
    for (const QString &expression : expressions)
        list << QStringLiteral("COALESCE(SUM(%1), 0)").arg(expression);
    return selectOver(list.join(QStringLiteral(", ")), from, where.sql);
}

QList<double> Totals::sums(Query &query, const QStringList &expressions)
{
    if (!query.active())
        throw DbError(QStringLiteral("%1 no está abierta.").arg(query.displayName()));
    return sums(*query.connection(), query.statement().from, query.listedCondition(), expressions);
}

QList<double> Totals::sums(Table &table, const QStringList &expressions)
{
    if (!table.active())
        throw DbError(QStringLiteral("%1 no está abierta.").arg(table.displayName()));
    return sums(*table.connection(), table.tableName(), table.listedCondition(), expressions);
}

}  // namespace vx
