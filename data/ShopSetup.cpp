#include "data/ShopSetup.h"

#include "data/DemoShop.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/core/Paths.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

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

QString createShop(const ShopSetupOptions &options)
{
    checkPassword(options.adminPassword);
    const QString linkPath = vx::paths::dataLinkFile();
    QString databasePath;
    bool writeLink = false;
    if (QFileInfo::exists(linkPath)) {
        const vx::DataLink link = vx::DataLink::read(linkPath);
        if (link.provider().compare(QLatin1String("SQLite"), Qt::CaseInsensitive) != 0)
            throw vx::DbError(QStringLiteral("El archivo de enlace de datos \"%1\" indica el proveedor \"%2\"; "
                                             "esta orden crea bases de datos SQLite.")
                                  .arg(QDir::toNativeSeparators(linkPath), link.provider()));
        databasePath = link.resolvedDataSource();
    } else {
        databasePath = vx::paths::root() + QStringLiteral("/Vendrix.db");
        writeLink = true;
    }
    if (QFileInfo::exists(databasePath))
        throw vx::DbError(QStringLiteral("Ya existe la base de datos \"%1\"; no se sobrescribe.")
                              .arg(QDir::toNativeSeparators(databasePath)));

    QDir().mkpath(QFileInfo(databasePath).absolutePath());
    try {
        {
            auto connection = vx::Connection::openSqlite(databasePath, &vendrixSchema(), true);
            connection->createSchema();
            vx::Transaction transaction(*connection);
            writeStartingRows(*connection, options.adminPassword);
            if (options.demo)
                fillDemoShop(*connection);
            transaction.commit();
        }
        if (writeLink)
            vx::DataLink::write(linkPath, QStringLiteral("Provider=SQLite;Data Source=Vendrix.db;"));
        if (options.demo)
            writeTicketHeader();
    } catch (...) {
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(databasePath + suffix);
        if (writeLink)
            QFile::remove(linkPath);
        throw;
    }
    return databasePath;
}

}  // namespace data
