#pragma once

#include "platform/db/Connection.h"

#include <QSqlQuery>
#include <QVariantList>

// The plain side of a floor: statements prepared once and run with bound values inside one write
// transaction, through the same driver as the recording they stand beside, with none of the
// recording's own bookkeeping.
namespace bench {

class FloorStatements {
public:
    explicit FloorStatements(vx::Connection &connection);

    QSqlQuery prepare(const char *sql) const;
    // Binds the values in order and runs; a statement that answers a row (RETURNING) is read.
    static void run(QSqlQuery &query, const QVariantList &values);
    // Runs a "SELECT MAX(...)" and answers the next number (1 on an empty table).
    static int nextNumber(QSqlQuery &query);
    void begin() const;
    void commit() const;

    const vx::SqlDialect &dialect() const { return m_dialect; }
    // The value a date column stores for today at 00:00, and for now.
    QVariant today() const;
    QVariant now() const;

private:
    QSqlDatabase m_db;
    const vx::SqlDialect &m_dialect;
};

}  // namespace bench
