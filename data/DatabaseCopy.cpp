#include "data/DatabaseCopy.h"

#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/DbError.h"

namespace data {

namespace {

// Refuses a target that already holds a shop's rows, or only part of the tables.
bool targetNeedsTables(vx::Connection &to)
{
    int present = 0;
    for (const vx::TableDef &table : vendrixSchema().tables()) {
        if (!to.tableExists(table.name))
            continue;
        ++present;
        const int rows = to.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name)).toInt();
        if (rows > 0)
            throw vx::DbError(QStringLiteral("La base de datos de destino %1 no está vacía (la tabla %2 tiene %3 filas); "
                                             "no se copia nada.")
                                  .arg(to.description(), table.name)
                                  .arg(rows));
    }
    if (present != 0 && present != vendrixSchema().tables().size())
        throw vx::DbError(QStringLiteral("La base de datos de destino %1 tiene sólo algunas de las tablas de una tienda; "
                                         "no se copia nada.")
                              .arg(to.description()));
    return present == 0;
}

qint64 copyTable(vx::Connection &from, vx::Connection &to, const vx::TableDef &table)
{
    QStringList columns;
    for (const vx::ColumnDef &column : table.columns)
        columns << column.name;
    RowInserter target(to, table.name, columns);
    const auto rows = from.openStream(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(columns.join(QStringLiteral(", ")), table.name, table.rowKey()),
        {}, 0);
    qint64 copied = 0;
    QVariantList values;
    while (rows->next(values)) {
        for (int c = 0; c < values.size(); ++c)
            values[c] = from.dialect().fromDatabase(values[c], table.columns[c].type);
        target.insert(values);
        ++copied;
    }
    const QString reset = to.dialect().resetAutoNumber(table.name, table.rowKey());
    if (!reset.isEmpty())
        to.execute(reset);
    return copied;
}

}  // namespace

void copyDatabase(vx::Connection &from, vx::Connection &to, const std::function<void(const QString &)> &progress)
{
    for (const vx::TableDef &table : vendrixSchema().tables()) {
        if (!from.tableExists(table.name))
            throw vx::DbError(QStringLiteral("La base de datos de origen %1 no tiene la tabla %2.")
                                  .arg(from.description(), table.name));
    }
    const bool createTables = targetNeedsTables(to);
    vx::Transaction transaction(to);
    if (createTables)
        to.createSchema();
    for (const vx::TableDef &table : vendrixSchema().tables()) {
        const qint64 copied = copyTable(from, to, table);
        progress(QStringLiteral("%1: %2 filas").arg(table.name, -18).arg(copied));
    }
    transaction.commit();
}

}  // namespace data
