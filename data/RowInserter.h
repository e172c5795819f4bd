#pragma once

#include "platform/db/Connection.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include <memory>

namespace data {

// Inserts many rows into one table through one prepared statement, converting each value to its
// column's stored form. For writing whole shops at once (initial data, benchmark shops); windows
// write through table cursors and the recordings instead.
class RowInserter {
public:
    RowInserter(vx::Connection &connection, const QString &table, const QStringList &columns);

    // Values in the order of the columns given; throws vx::DbError on failure.
    void insert(const QVariantList &values);

private:
    vx::Connection &m_connection;
    QString m_table;
    QString m_owner;  // the table as messages name it mid-sentence
    QList<vx::ColumnDef> m_columns;
    std::unique_ptr<QSqlQuery> m_query;
};

}  // namespace data
