#include "backup/Restore.h"

#include "backup/PgTools.h"
#include "data/DatabaseCopy.h"
#include "data/Schema.h"
#include "data/ShopSetup.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>

namespace backup {

namespace {

QString shown(const QString &path)
{
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

enum class CopyKind { Sqlite, PostgresDump, Unknown };

CopyKind kindOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw vx::DbError(QStringLiteral("No se puede leer la copia %1: %2").arg(shown(path), file.errorString()));
    const QByteArray head = file.read(16);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3")))
        return CopyKind::Sqlite;
    if (head.startsWith(QByteArrayLiteral("PGDMP")))
        return CopyKind::PostgresDump;
    return CopyKind::Unknown;
}

QString defaultNewDatabase()
{
    return QStringLiteral("Provider=SQLite;Data Source=Vendrix.db;");
}

bool isPostgres(const vx::DataLink &link)
{
    return link.provider().compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0;
}

void checkIntegrity(vx::Connection &copy, const QString &copyFile)
{
    QSqlQuery check = copy.execute(QStringLiteral("PRAGMA integrity_check"));
    QStringList problems;
    while (check.next()) {
        if (check.value(0).toString() != QLatin1String("ok"))
            problems << check.value(0).toString();
    }
    if (!problems.isEmpty())
        throw vx::DbError(QStringLiteral("La copia %1 está dañada (%2).")
                              .arg(shown(copyFile), problems.mid(0, 3).join(QStringLiteral("; "))));
}

QString restoreSqlite(const QString &copyFile, const QString &toLink, const QString &newConnectionString,
                      const Progress &progress)
{
    const QTemporaryDir work;
    {
        progress(QStringLiteral("Verificando la copia %1").arg(shown(copyFile)));
        const auto copy = openCopy(copyFile, work);
        checkIntegrity(*copy, copyFile);
    }
    const QString sourceLink = work.filePath(QStringLiteral("copia.udl"));
    vx::DataLink::write(sourceLink, QStringLiteral("Provider=SQLite;Data Source=copia.db;"));
    const QString duplicate = QDir::toNativeSeparators(work.filePath(QStringLiteral("copia.db")));
    return data::copyShop(sourceLink, toLink, newConnectionString, [&](const QString &line) {
        progress(QString(line).replace(duplicate, QDir::toNativeSeparators(copyFile)));
    });
}

// The version the dump's tables were recorded with, read from the archive itself.
int dumpVersion(const QString &restoreTool, const QString &copyFile)
{
    QProcess read;
    read.start(restoreTool, {QStringLiteral("--data-only"), QStringLiteral("--table=%1").arg(vx::Schema::versionTable().toLower()),
                             QStringLiteral("--file=-"), copyFile});
    if (!read.waitForFinished(300000) || read.exitCode() != 0)
        return 0;
    const QString text = QString::fromLocal8Bit(read.readAllStandardOutput());
    const QRegularExpressionMatch row =
        QRegularExpression(QStringLiteral("FROM stdin;\\n(\\d+)\\n")).match(text);
    return row.hasMatch() ? row.captured(1).toInt() : 0;
}

void checkDump(const QString &restoreTool, const QString &copyFile)
{
    QProcess list;
    list.start(restoreTool, {QStringLiteral("--list"), copyFile});
    const bool listed = list.waitForFinished(300000) && list.exitStatus() == QProcess::NormalExit && list.exitCode() == 0;
    const QString contents = QString::fromLocal8Bit(list.readAllStandardOutput());
    if (!listed)
        throw vx::DbError(QStringLiteral("La copia %1 está dañada: %2")
                              .arg(shown(copyFile), QString::fromLocal8Bit(list.readAllStandardError()).trimmed()));
    for (const vx::TableDef &table : data::vendrixSchema().tables()) {
        if (!contents.contains(QStringLiteral(" TABLE DATA public %1 ").arg(table.name.toLower())))
            throw vx::DbError(QStringLiteral("La copia %1 no es de una tienda de %2: le falta la tabla %3.")
                                  .arg(shown(copyFile), data::vendrixSchema().application(), table.name));
    }
    const int version = dumpVersion(restoreTool, copyFile);
    if (version > data::schemaVersion)
        throw vx::DbError(QStringLiteral("La copia %1 es de una versión más nueva de %2 (sus tablas son de la versión "
                                         "%3; este programa usa la %4). Restáurela con la versión de %2 que la hizo.")
                              .arg(shown(copyFile), data::vendrixSchema().application())
                              .arg(version)
                              .arg(data::schemaVersion));
}

// Refuses a database that holds any row of the shop's tables.
void requireEmpty(vx::Connection &target)
{
    for (const vx::TableDef &table : data::vendrixSchema().tables()) {
        if (!target.tableExists(table.name))
            continue;
        const qint64 rows = target.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name)).toLongLong();
        if (rows > 0)
            throw vx::DbError(QStringLiteral("La base de datos de destino %1 no está vacía (la tabla %2 tiene %3 %4); "
                                             "una copia se restaura sólo en una base sin filas.")
                                  .arg(target.description(), table.name)
                                  .arg(rows)
                                  .arg(rows == 1 ? QStringLiteral("fila") : QStringLiteral("filas")));
    }
}

QString restoreDump(const QString &copyFile, const QString &toLink, const QString &newConnectionString,
                    const Progress &progress)
{
    const bool newTarget = !QFileInfo::exists(toLink);
    if (!newTarget && !newConnectionString.isEmpty())
        throw vx::DbError(QStringLiteral("Ya existe el archivo de enlace de datos %1; no se sobrescribe.").arg(shown(toLink)));
    const vx::DataLink link = newTarget ? vx::DataLink::fromConnectionString(newConnectionString, toLink)
                                        : vx::DataLink::read(toLink);
    if (!isPostgres(link))
        throw vx::DbError(QStringLiteral("La copia %1 es de una base PostgreSQL y se restaura en una base PostgreSQL "
                                         "(indique --provider postgresql y el servidor). Para pasarla después a "
                                         "SQLite, use \"vendrix copy-db\".")
                              .arg(shown(copyFile)));
    auto target = vx::Connection::open(link, &data::vendrixSchema());
    const int major = target->scalar(QStringLiteral("SHOW server_version_num")).toInt() / 10000;
    const QString restoreTool = pgtools::find(QStringLiteral("pg_restore"), major);
    progress(QStringLiteral("Verificando la copia %1").arg(shown(copyFile)));
    checkDump(restoreTool, copyFile);
    requireEmpty(*target);
    const QString description = target->description();
    const QSqlDatabase server = target->database();
    progress(QStringLiteral("Restaurando en %1").arg(description));
    const auto tableLine = [&progress](const QString &line) {
        static const QLatin1String marker("processing data for table \"public.");
        const qsizetype at = line.indexOf(marker);
        if (at >= 0)
            progress(QStringLiteral("  %1").arg(line.mid(at + marker.size()).chopped(1).toUpper()));
    };
    // One transaction: the empty tables are replaced by the copy's, or nothing changes.
    const pgtools::Outcome restored =
        pgtools::run(restoreTool,
                     {QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
                      QStringLiteral("--no-privileges"), QStringLiteral("--single-transaction"),
                      QStringLiteral("--exit-on-error"), QStringLiteral("--verbose"),
                      QStringLiteral("--dbname=%1").arg(server.databaseName()), copyFile},
                     pgtools::Server::of(server), tableLine);
    if (restored.exitCode != 0)
        throw vx::DbError(QStringLiteral("No se pudo restaurar la copia %1: %2 No se restauró nada.")
                              .arg(shown(copyFile), pgtools::failureText(restored)));
    // A copy made by an earlier version gets this version's additions before anyone opens it.
    data::upgradeShop(*target);
    target.reset();
    if (newTarget)
        vx::DataLink::write(toLink, newConnectionString);
    return description;
}

}  // namespace

std::unique_ptr<vx::Connection> openCopy(const QString &copyFile, const QTemporaryDir &work)
{
    if (!QFileInfo(copyFile).isFile())
        throw vx::DbError(QStringLiteral("No existe la copia %1.").arg(shown(copyFile)));
    if (kindOf(copyFile) != CopyKind::Sqlite)
        throw vx::DbError(QStringLiteral("El archivo %1 no es una copia de una tienda SQLite.").arg(shown(copyFile)));
    const QString duplicate = work.filePath(QStringLiteral("copia.db"));
    QFile::remove(duplicate);
    if (!QFile::copy(copyFile, duplicate))
        throw vx::DbError(QStringLiteral("No se pudo leer la copia %1.").arg(shown(copyFile)));
    QFile(duplicate).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    try {
        // A copy made by an earlier version is brought up to this one on the duplicate, so that it
        // restores and checks like a current one; the copy itself is never written.
        data::upgradeShop(*vx::Connection::openSqlite(duplicate, &data::vendrixSchema(), false));
        return vx::Connection::openSqlite(duplicate, &data::vendrixSchema(), false, vx::Connection::Expect::Shop);
    } catch (const vx::DbError &failure) {
        throw vx::DbError(QStringLiteral("La copia %1 no se puede usar: %2")
                              .arg(shown(copyFile), failure.message().replace(duplicate, copyFile)),
                          failure.kind(), failure.cause());
    }
}

QString restoreCopy(const QString &copyFile, const QString &toLink, const QString &newConnectionString,
                    const Progress &progress)
{
    const Progress say = progress ? progress : Progress([](const QString &) {});
    if (!QFileInfo(copyFile).isFile())
        throw vx::DbError(QStringLiteral("No existe la copia %1.").arg(shown(copyFile)));
    const QString target = !QFileInfo::exists(toLink) && newConnectionString.isEmpty() ? defaultNewDatabase()
                                                                                        : newConnectionString;
    switch (kindOf(copyFile)) {
    case CopyKind::Sqlite:
        return restoreSqlite(copyFile, toLink, target, say);
    case CopyKind::PostgresDump:
        return restoreDump(copyFile, toLink, target, say);
    case CopyKind::Unknown:
        break;
    }
    throw vx::DbError(QStringLiteral("El archivo %1 no es una copia de seguridad de %2.")
                          .arg(shown(copyFile), data::vendrixSchema().application()));
}

}  // namespace backup
