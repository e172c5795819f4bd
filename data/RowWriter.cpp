#include "data/RowWriter.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

namespace data {

QString RowWriter::insertStatement(const QString &table, const QStringList &columns) const
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), columns.size());
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

QVariantList RowWriter::stored(const QString &table, const QStringList &columns, const QVariantList &values) const
{
    const vx::TableDef *def = m_connection.schema() ? m_connection.schema()->table(table) : nullptr;
    if (!def)
        throw vx::DbError(QStringLiteral("La tabla %1 no existe en la base de datos.").arg(table));
    if (columns.size() != values.size())
        throw vx::DbError(QStringLiteral("%1: se dieron %2 valores para %3 campos.")
                              .arg(table)
                              .arg(values.size())
                              .arg(columns.size()));
    QVariantList out;
    out.reserve(values.size());
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const vx::ColumnDef *column = def->column(columns[i]);
        if (!column)
            throw vx::DbError(QStringLiteral("La tabla %1 no tiene el campo %2.").arg(table, columns[i]));
        vx::checkTextFits(*column, values[i], table);
        out << m_connection.dialect().toDatabase(values[i], column->type);
    }
    return out;
}

void RowWriter::insert(const QString &table, const QStringList &columns, const QVariantList &values)
{
    m_connection.executeCached(insertStatement(table, columns), stored(table, columns, values));
}

qint64 RowWriter::insertReturningKey(const QString &table, const QStringList &columns, const QVariantList &values)
{
    // Converting first also refuses a table the schema does not know.
    const QVariantList converted = stored(table, columns, values);
    const QString key = m_connection.schema()->table(table)->rowKey();
    QSqlQuery &query =
        m_connection.executeCached(insertStatement(table, columns) + QStringLiteral(" RETURNING ") + key, converted);
    // A statement that returns rows does not count as a write by itself.
    m_connection.noteWrite();
    const bool read = query.next();
    const qint64 id = read ? query.value(0).toLongLong() : 0;
    query.finish();
    if (!read)
        throw vx::DbError(QStringLiteral("La base de datos no informó la clave de la fila agregada a %1.").arg(table));
    return id;
}

} // namespace data
