#include "data/RowInserter.h"

#include "platform/db/DbError.h"

#include <QSqlError>

namespace data {

RowInserter::RowInserter(vx::Connection &connection, const QString &table, const QStringList &columns)
    : m_connection(connection), m_table(table), m_owner(QStringLiteral("la tabla %1").arg(table))
{
    const vx::TableDef *def = connection.schema() ? connection.schema()->table(table) : nullptr;
    if (!def)
        throw vx::DbError(QStringLiteral("La tabla %1 no existe en la base de datos.").arg(table));
    QStringList marks;
    for (const QString &name : columns) {
        const vx::ColumnDef *column = def->column(name);
        if (!column)
            throw vx::DbError(QStringLiteral("La tabla %1 no tiene el campo %2.").arg(table, name));
        m_columns << *column;
        marks << QStringLiteral("?");
    }
    m_query = std::make_unique<QSqlQuery>(connection.database());
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(def->name, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    if (!m_query->prepare(sql))
        connection.failed(m_query->lastError(), QString());
}

void RowInserter::insert(const QVariantList &values)
{
    for (int i = 0; i < values.size() && i < m_columns.size(); ++i) {
        vx::checkValueFits(m_columns[i], values[i], m_owner);
        m_query->bindValue(i, m_connection.dialect().toDatabase(values[i], m_columns[i].type));
    }
    if (!m_query->exec())
        m_connection.failed(m_query->lastError(), QStringLiteral("No se pudo agregar una fila a %1").arg(m_table));
    m_connection.noteWrite();
}

}  // namespace data
