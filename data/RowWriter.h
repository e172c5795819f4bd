#pragma once

#include <QStringList>
#include <QVariantList>

namespace vx {
class Connection;
}

namespace data {

// Writes rows of the shop's tables in plain SQL through statements the connection keeps
// prepared, so that a recording repeated at the counter does not prepare them again. Each value
// is converted to its column's stored form; text longer than its column and numbers outside its
// range are refused on every engine; yes/no columns left unset are written as false. Throws vx::DbError with the Spanish reason.
class RowWriter {
public:
    explicit RowWriter(vx::Connection &connection) : m_connection(connection) {}

    // Values in the order of the columns given.
    void insert(const QString &table, const QStringList &columns, const QVariantList &values);
    // The same, returning the autonumber the row received.
    qint64 insertReturningKey(const QString &table, const QStringList &columns, const QVariantList &values);

private:
    QString insertStatement(const QString &table, const QStringList &columns) const;
    struct Row {
        QStringList columns;
        QVariantList values;
    };
    // The row as it is written: values in their stored form, yes/no columns left unset as false.
    Row stored(const QString &table, const QStringList &columns, const QVariantList &values) const;

    vx::Connection &m_connection;
};

} // namespace data
