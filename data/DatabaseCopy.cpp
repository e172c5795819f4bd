#include "data/DatabaseCopy.h"

#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace data {

namespace {

// A read-only transaction on the source: every table is read as it stood when the copy began.
class ReadSnapshot {
public:
    explicit ReadSnapshot(vx::Connection &connection) : m_connection(connection)
    {
        for (const QString &statement : connection.dialect().beginReadSnapshot())
            connection.execute(statement);
    }
    ~ReadSnapshot()
    {
        // Nothing was written: ending it either way releases the snapshot.
        QSqlQuery end(m_connection.database());
        end.exec(QStringLiteral("ROLLBACK"));
    }
    ReadSnapshot(const ReadSnapshot &) = delete;
    ReadSnapshot &operator=(const ReadSnapshot &) = delete;

private:
    vx::Connection &m_connection;
};

QString rowsText(qint64 rows)
{
    return rows == 1 ? QStringLiteral("1 fila") : QStringLiteral("%1 filas").arg(rows);
}

// Refuses a target that already holds a shop's rows, or only part of the tables.
bool targetNeedsTables(vx::Connection &to)
{
    int present = 0;
    for (const vx::TableDef &table : vendrixSchema().tables()) {
        if (!to.tableExists(table.name))
            continue;
        ++present;
        const qint64 rows = to.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name)).toLongLong();
        if (rows > 0)
            throw vx::DbError(QStringLiteral("La base de datos de destino %1 no está vacía (la tabla %2 tiene %3).")
                                  .arg(to.description(), table.name, rowsText(rows)));
    }
    if (present != 0 && present != vendrixSchema().tables().size())
        throw vx::DbError(QStringLiteral("La base de datos de destino %1 tiene sólo algunas de las tablas de una tienda.")
                              .arg(to.description()));
    return present == 0;
}

qint64 copyTable(vx::Connection &from, vx::Connection &to, const vx::TableDef &table)
{
    QStringList columns;
    QStringList selected;
    for (const vx::ColumnDef &column : table.columns) {
        columns << column.name;
        selected << from.dialect().selectColumn(column.name, column.type);
    }
    RowInserter target(to, table.name, columns);
    const QString key = table.rowKey();
    const auto rows = from.openStream(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(selected.join(QStringLiteral(", ")), table.name, key), {}, 0);
    const qsizetype keyIndex = columns.indexOf(key);
    qint64 copied = 0;
    qint64 highestKey = 0;
    QVariantList values;
    while (rows->next(values)) {
        for (int c = 0; c < values.size(); ++c)
            values[c] = from.dialect().fromDatabase(values[c], table.columns[c].type);
        highestKey = std::max(highestKey, values[keyIndex].toLongLong());
        target.insert(values);
        ++copied;
    }
    // The next row gets the number the source would have given it, even when its last rows
    // were deleted: a number once used is not used again.
    const qint64 counter = from.scalar(from.dialect().autoNumberCounterQuery(table.name, key)).toLongLong();
    for (const QString &statement : to.dialect().setAutoNumberCounter(table.name, key, std::max(counter, highestKey)))
        to.execute(statement);
    return copied;
}

void copyEveryTable(vx::Connection &from, vx::Connection &to, const CopyProgress &progress)
{
    const ReadSnapshot snapshot(from);
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
        progress(QStringLiteral("%1 %2").arg(table.name + QLatin1Char(':'), -18).arg(rowsText(copied)));
    }
    transaction.commit();
}

bool isSqlite(const vx::DataLink &link)
{
    return link.provider().compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0;
}

vx::DbError nothingCopied(const vx::DbError &failure)
{
    return vx::DbError(failure.message() + QStringLiteral(" No se copió nada."));
}

}  // namespace

void copyDatabase(vx::Connection &from, vx::Connection &to, const CopyProgress &progress)
{
    try {
        copyEveryTable(from, to, progress);
    } catch (const vx::DbError &failure) {
        throw nothingCopied(failure);
    }
}

QString copyShop(const QString &fromLink, const QString &toLink, const QString &newConnectionString,
                 const CopyProgress &progress)
{
    QString createdFile;
    try {
        const bool newTarget = !newConnectionString.isEmpty();
        if (newTarget && QFileInfo::exists(toLink))
            throw vx::DbError(QStringLiteral("Ya existe el archivo de enlace de datos \"%1\"; no se sobrescribe.")
                                  .arg(QDir::toNativeSeparators(toLink)));
        const vx::DataLink target = newTarget ? vx::DataLink::fromConnectionString(newConnectionString, toLink)
                                              : vx::DataLink::read(toLink);
        auto from = vx::Connection::open(vx::DataLink::read(fromLink), &vendrixSchema());
        std::unique_ptr<vx::Connection> to;
        if (isSqlite(target) && !target.resolvedDataSource().isEmpty() && !QFileInfo::exists(target.resolvedDataSource())) {
            createdFile = target.resolvedDataSource();
            QDir().mkpath(QFileInfo(createdFile).absolutePath());
            to = vx::Connection::openSqlite(createdFile, &vendrixSchema(), true);
        } else {
            to = vx::Connection::open(target, &vendrixSchema());
        }
        progress(QStringLiteral("Copiando %1 a %2").arg(from->description(), to->description()));
        copyEveryTable(*from, *to, progress);
        const QString description = to->description();
        if (newTarget)
            vx::DataLink::write(toLink, newConnectionString);
        return description;
    } catch (const vx::DbError &failure) {
        if (!createdFile.isEmpty()) {
            for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(createdFile + suffix);
        }
        throw nothingCopied(failure);
    }
}

}  // namespace data
