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

RowWriter::Row RowWriter::stored(const QString &table, const QStringList &columns, const QVariantList &values) const
{
    const vx::TableDef *def = m_connection.schema() ? m_connection.schema()->table(table) : nullptr;
    if (!def)
        throw vx::DbError(QStringLiteral("La tabla %1 no existe en la base de datos.").arg(table));
    if (columns.size() != values.size())
        throw vx::DbError(QStringLiteral("%1: se dieron %2 valores para %3 campos.")
                              .arg(table)
                              .arg(values.size())
                              .arg(columns.size()));
    Row row{columns, {}};
    row.values.reserve(values.size());
    const QString owner = QStringLiteral("la tabla %1").arg(table);
    const vx::SqlDialect &dialect = m_connection.dialect();
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const vx::ColumnDef *column = def->column(columns[i]);
        if (!column)
            throw vx::DbError(QStringLiteral("La tabla %1 no tiene el campo %2.").arg(table, columns[i]));
        vx::checkValueFits(*column, values[i], owner);
        const bool unsetFlag = column->type == vx::FieldType::Boolean && values[i].isNull();
        row.values << dialect.toDatabase(unsetFlag ? QVariant(false) : values[i], column->type);
    }
    // A yes/no the caller leaves out is "no": grids show "No" and a filter on False finds the row.
    for (const vx::ColumnDef &column : def->columns) {
        if (column.type == vx::FieldType::Boolean && !columns.contains(column.name, Qt::CaseInsensitive)) {
            row.columns << column.name;
            row.values << dialect.toDatabase(false, column.type);
        }
    }
    return row;
}

void RowWriter::insert(const QString &table, const QStringList &columns, const QVariantList &values)
{
    const Row row = stored(table, columns, values);
    m_connection.executeCached(insertStatement(table, row.columns), row.values);
}

qint64 RowWriter::insertReturningKey(const QString &table, const QStringList &columns, const QVariantList &values)
{
    // Converting first also refuses a table the schema does not know.
    const Row row = stored(table, columns, values);
    const QString key = m_connection.schema()->table(table)->rowKey();
    QSqlQuery &query =
        m_connection.executeCached(insertStatement(table, row.columns) + QStringLiteral(" RETURNING ") + key, row.values);
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
