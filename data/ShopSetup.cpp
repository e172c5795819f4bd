#include "data/ShopSetup.h"

#include "data/DemoShop.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/core/Paths.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlDialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace data {

namespace {

void writeTicketHeader()
{
    const QString folder = vx::paths::userFolder();
    const QString path = vx::paths::findCaseInsensitive(folder, QStringLiteral("MemTik.txt"));
    if (QFileInfo::exists(path))
        return;
    QDir().mkpath(folder);
    QSaveFile file(path);
    const QByteArray bytes = demoTicketHeader().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw vx::DbError(QStringLiteral("No se pudo escribir el membrete del ticket \"%1\": %2.")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
}

// Creates the tables and the starting rows in one transaction: a shop is made whole or not at all.
void fillNewDatabase(vx::Connection &connection, const ShopSetupOptions &options)
{
    vx::Transaction transaction(connection);
    connection.createSchema();
    writeStartingRows(connection, options.adminPassword);
    if (options.demo)
        fillDemoShop(connection);
    transaction.commit();
    if (options.demo && options.demoHistory)
        options.demoHistory(connection);
}

// Refuses a database that already holds a shop's tables.
void checkHoldsNoShop(vx::Connection &connection)
{
    for (const vx::TableDef &table : vendrixSchema().tables()) {
        if (connection.tableExists(table.name))
            throw vx::DbError(QStringLiteral("La base de datos %1 ya tiene las tablas de una tienda; no se sobrescribe.")
                                  .arg(connection.description()));
    }
}

QString createSqliteShop(const ShopSetupOptions &options, const QString &databasePath)
{
    const bool existed = QFileInfo::exists(databasePath);
    QDir().mkpath(QFileInfo(databasePath).absolutePath());
    try {
        auto connection = vx::Connection::openSqlite(databasePath, &vendrixSchema(), true);
        checkHoldsNoShop(*connection);
        fillNewDatabase(*connection, options);
    } catch (...) {
        if (!existed) {
            for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(databasePath + suffix);
        }
        throw;
    }
    return databasePath;
}

QString createServerShop(const ShopSetupOptions &options, const vx::DataLink &link)
{
    auto connection = vx::Connection::open(link, &vendrixSchema());
    checkHoldsNoShop(*connection);
    fillNewDatabase(*connection, options);
    return connection->description();
}

// Every index of the shop's tables that the database lacks; those it has stay as they are.
void addMissingIndexes(vx::Connection &connection)
{
    for (const vx::TableDef &table : vendrixSchema().tables()) {
        for (const QStringList &index : table.indexes)
            connection.execute(vx::SqlDialect::createIndexStatement(table.name, index, true));
    }
}

}  // namespace

void checkPassword(const QString &password)
{
    if (password.trimmed().isEmpty())
        throw vx::DbError(QStringLiteral("La clave del administrador no puede estar vacía."));
    if (password.size() > 10)
        throw vx::DbError(QStringLiteral("La clave del administrador admite como máximo 10 caracteres."));
}

void writeStartingRows(vx::Connection &connection, const QString &adminPassword)
{
    RowInserter operators(connection, QStringLiteral("OPERADOR"),
                          {QStringLiteral("OPECOD"), QStringLiteral("OPEAPE"), QStringLiteral("OPECLA"),
                           QStringLiteral("OPENIV")});
    operators.insert({1, QStringLiteral("ADMINISTRADOR"), adminPassword, 9});
    RowInserter customers(connection, QStringLiteral("CLIENTE"),
                          {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIIVA"),
                           QStringLiteral("CLISAL"), QStringLiteral("CLINDOC")});
    customers.insert({1, QStringLiteral("CONSUMIDOR FINAL"), QStringLiteral("CONSUMIDOR FINAL"), 0.0, 0});
}

QString upgradeShop(const QString &dataLinkPath)
{
    return upgradeShop(*vx::Connection::open(vx::DataLink::read(dataLinkPath), &vendrixSchema()));
}

QString upgradeShop(vx::Connection &connection)
{
    const QString what = connection.description();
    if (connection.readOnly())
        throw vx::DbError(QStringLiteral("La base de datos %1 sólo se puede leer; no se puede actualizar.").arg(what));
    for (const vx::TableDef &table : vendrixSchema().tables()) {
        if (!connection.tableExists(table.name))
            throw vx::DbError(QStringLiteral("La base de datos %1 no es una base de datos de Vendrix.").arg(what));
    }
    // A shop from before versions were recorded holds the tables of the first version.
    const int stored = connection.storedVersion();
    const int from = stored == 0 ? 1 : stored;
    if (from > schemaVersion)
        throw vx::DbError(QStringLiteral("La base de datos %1 es de una versión más nueva de Vendrix (versión %2 de "
                                         "sus tablas); este programa no puede actualizarla.")
                              .arg(what)
                              .arg(from));
    if (stored == schemaVersion)
        return QStringLiteral("La base de datos %1 ya está en la versión %2; no hay nada que actualizar.")
            .arg(what)
            .arg(schemaVersion);
    // Each later version adds its step here, from the version before it; the first needs none.
    // Versions 2 and 3 only add indexes, so one step serves a shop of either earlier version.
    vx::Transaction transaction(connection);
    if (from < 3)
        addMissingIndexes(connection);
    connection.recordVersion();
    transaction.commit();
    return QStringLiteral("La base de datos %1 quedó en la versión %2.").arg(what).arg(schemaVersion);
}

QString createShop(const ShopSetupOptions &options)
{
    checkPassword(options.adminPassword);
    const QString linkPath = vx::paths::dataLinkFile();
    const bool linkExists = QFileInfo::exists(linkPath);
    if (linkExists && !options.connectionString.isEmpty())
        throw vx::DbError(QStringLiteral("Ya existe el archivo de enlace de datos \"%1\"; no se sobrescribe.")
                              .arg(QDir::toNativeSeparators(linkPath)));

    const QString connectionString = !options.connectionString.isEmpty()
                                         ? options.connectionString
                                         : QStringLiteral("Provider=SQLite;Data Source=Vendrix.db;");
    vx::DataLink link = linkExists ? vx::DataLink::read(linkPath)
                                   : vx::DataLink::fromConnectionString(connectionString, linkPath);
    QString created;
    if (link.provider().compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
        created = createSqliteShop(options, link.resolvedDataSource());
    else
        created = createServerShop(options, link);

    if (!linkExists) {
        try {
            QDir().mkpath(vx::paths::root());
            vx::DataLink::write(linkPath, connectionString);
        } catch (...) {
            if (link.provider().compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
                QFile::remove(created);
            throw;
        }
    }
    if (options.demo)
        writeTicketHeader();
    return created;
}

}  // namespace data
