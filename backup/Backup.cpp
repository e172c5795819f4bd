#include "backup/Backup.h"

#include "backup/CopyFiles.h"
#include "backup/PgTools.h"
#include "backup/SqliteCopy.h"
#include "data/Schema.h"
#include "platform/core/Paths.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace backup {

namespace {

QString shown(const QString &path)
{
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

vx::DbError copyFailed(const QString &folder, const QString &cause)
{
    return vx::DbError(QStringLiteral("No se pudo hacer la copia de seguridad en %1: %2 La tienda no cambió y no quedó "
                                      "ninguna copia a medias.")
                           .arg(shown(folder), cause.trimmed()));
}

// The temporary file the copy is written to, made empty first so that a folder that cannot be
// written to is told as such before anything is read.
class PartialFile {
public:
    PartialFile(const QString &folder, const QString &finalName) : m_path(QDir(folder).filePath(finalName + QStringLiteral(".parcial")))
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0)
            throw vx::DbError(systemCause(errno));
        ::close(fd);
    }
    ~PartialFile()
    {
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
            QFile::remove(m_path + suffix);
    }
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;
    QString path() const { return m_path; }

private:
    QString m_path;
};

void copyPostgres(const CopySource &shop, const QString &partial, const Progress &progress)
{
    const QString dump = pgtools::find(QStringLiteral("pg_dump"), shop.serverMajorVersion);
    progress(QStringLiteral("Copiando la base de datos..."));
    const auto tableLine = [&progress](const QString &line) {
        static const QLatin1String marker("dumping contents of table \"public.");
        const qsizetype at = line.indexOf(marker);
        if (at >= 0)
            progress(QStringLiteral("Copiando %1...").arg(line.mid(at + marker.size()).chopped(1).toUpper()));
    };
    // One snapshot of the whole database, taken by the server's own dump, in its compressed
    // custom format that restores table by table.
    const pgtools::Outcome dumped = pgtools::run(dump,
                                                 {QStringLiteral("--format=custom"), QStringLiteral("--verbose"),
                                                  QStringLiteral("--file=%1").arg(partial),
                                                  QStringLiteral("--dbname=%1").arg(shop.server.database)},
                                                 shop.server, tableLine);
    if (dumped.exitCode != 0)
        throw vx::DbError(pgtools::failureText(dumped));
    syncToDisk(partial, false);

    progress(QStringLiteral("Verificando la copia..."));
    const QString restore = pgtools::find(QStringLiteral("pg_restore"), shop.serverMajorVersion);
    QProcess list;
    list.start(restore, {QStringLiteral("--list"), partial});
    const bool listed = list.waitForFinished(300000) && list.exitStatus() == QProcess::NormalExit && list.exitCode() == 0;
    const QString contents = QString::fromLocal8Bit(list.readAllStandardOutput());
    if (!listed || !contents.contains(QStringLiteral(" TABLE DATA public %1 ").arg(vx::Schema::versionTable().toLower())))
        throw vx::DbError(QStringLiteral("la copia no se pudo leer de vuelta (%1).")
                              .arg(QString::fromLocal8Bit(list.readAllStandardError()).trimmed()));
}

QString copyExtension(const CopySource &shop)
{
    return shop.sqlite ? QStringLiteral("db") : QStringLiteral("dump");
}

}  // namespace

CopySource::CopySource(vx::Connection &shop)
    : sqlite(shop.dialect().engine() == vx::SqlDialect::Engine::SQLite), readOnly(shop.readOnly())
{
    if (sqlite) {
        sqliteFile = shop.database().databaseName();
    } else {
        server = pgtools::Server::of(shop.database());
        serverMajorVersion = shop.scalar(QStringLiteral("SHOW server_version_num")).toInt() / 10000;
    }
}

QString defaultFolder()
{
    return vx::paths::userFolder() + QStringLiteral("Copias");
}

QString sizeText(qint64 bytes)
{
    const auto oneDecimal = [](double value) { return QString::number(value, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')); };
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1024 * 1024)
        return oneDecimal(double(bytes) / 1024) + QStringLiteral(" KB");
    if (bytes < qint64(1024) * 1024 * 1024)
        return oneDecimal(double(bytes) / (1024 * 1024)) + QStringLiteral(" MB");
    return oneDecimal(double(bytes) / (1024 * 1024 * 1024)) + QStringLiteral(" GB");
}

CopyMade makeCopy(const CopySource &shop, const QString &folder, const Progress &progress, const QDateTime &when)
{
    const Progress say = progress ? progress : Progress([](const QString &) {});
    if (!QDir().mkpath(folder))
        throw copyFailed(folder, QStringLiteral("no se pudo crear la carpeta."));
    const QDir dir(folder);
    const QString extension = copyExtension(shop);
    int attempt = 1;
    while (QFileInfo::exists(dir.filePath(copyFileName(when, extension, attempt)))
           || QFileInfo::exists(dir.filePath(copyFileName(when, extension, attempt) + QStringLiteral(".parcial"))))
        ++attempt;
    const QString finalPath = dir.filePath(copyFileName(when, extension, attempt));
    try {
        const PartialFile partial(folder, QFileInfo(finalPath).fileName());
        if (shop.sqlite) {
            copySqliteFile(shop.sqliteFile, shop.readOnly, partial.path(), say, shop.milestone);
        } else {
            copyPostgres(shop, partial.path(), say);
        }
        if (!QFile::rename(partial.path(), finalPath))
            throw vx::DbError(QStringLiteral("no se pudo dar su nombre a la copia."));
        syncToDisk(folder, true);
    } catch (const vx::DbError &failure) {
        throw copyFailed(folder, failure.cause().isEmpty() ? failure.message() : failure.cause());
    }
    return {finalPath, QFileInfo(finalPath).size()};
}

CopyMade automaticCopy(const CopySource &shop, const Progress &progress, const QDateTime &when)
{
    const CopyMade made = makeCopy(shop, defaultFolder(), progress, when);
    pruneCopies(defaultFolder());
    return made;
}

std::optional<CopyMade> copyOfTheDay(const CopySource &shop, const Progress &progress, const QDateTime &when)
{
    const QStringList names = QDir(defaultFolder()).entryList(QDir::Files);
    for (const QString &name : names) {
        if (const auto made = copyTime(name); made && made->date() == when.date())
            return std::nullopt;
    }
    return automaticCopy(shop, progress, when);
}

}  // namespace backup
