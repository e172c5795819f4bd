#pragma once

#include <QString>
#include <QStringList>

namespace vx {

// A select statement in parts, so that a query can add its filter to the WHERE clause and its
// sort to the ORDER BY of the statement itself: the engine then sees the tables, and searches the
// index of a date range or an article instead of walking a subquery in another order.
// Column and table names are written by the program; nothing typed ever goes here.
struct QueryStatement {
    QStringList columns;  // result columns by their unique names, or "expression AS NAME"
    QString from;         // tables and joins: "INGRESOS JOIN STOCK ON ARTCMCT = INGCMCT"
    QString where;        // the condition every listed row meets; may be empty
    QStringList order;    // the order when no sort is set
    QString rowKey;       // a unique column that breaks ties, so every run lists rows alike

    bool isEmpty() const { return from.isEmpty(); }
};

// "SELECT list FROM tables [WHERE condition]": the count and the totals of a list ask the same
// tables and condition as the list itself.
inline QString selectOver(const QString &selectList, const QString &from, const QString &where)
{
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(selectList, from);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return sql;
}

}  // namespace vx
