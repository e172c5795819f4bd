#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/FilterExpression.h"

#include <QList>
#include <QStringList>

namespace vx {

class Connection;
class Query;
class Table;

// The totals of what a list shows: one aggregate statement over the list's own tables and WHERE
// clause, so they cover exactly the rows listed and no row is walked. Each expression is summed;
// a sum over no rows, or over nulls only, is 0.
class VXPLATFORM_EXPORT Totals {
public:
    static QList<double> sums(Query &query, const QStringList &expressions);
    static QList<double> sums(Table &table, const QStringList &expressions);
    // The same over any tables and condition.
    static QList<double> sums(Connection &connection, const QString &from, const SqlCondition &where,
                              const QStringList &expressions);
    // The statement the sums run (bound with where.params).
    static QString statement(const QString &from, const SqlCondition &where, const QStringList &expressions);
};

}  // namespace vx
