#include "backup/Backup.h"

#include "backup/CopyFiles.h"
#include "backup/PgTools.h"
#include "data/Schema.h"
#include "platform/core/Paths.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDriver>
#include <QSqlQuery>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sqlite3.h>
#include <unistd.h>

namespace backup {

namespace {

QString shown(const QString &path)
{
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

QString systemCause(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("El disco está lleno.");
    case EROFS:
        return QStringLiteral("La carpeta está en un disco de sólo lectura.");
    case EACCES:
    case EPERM:
        return QStringLiteral("No hay permiso para escribir en la carpeta.");
    default:
        return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
    }
}

vx::DbError copyFailed(const QString &folder, const QString &cause)
{
    return vx::DbError(QStringLiteral("No se pudo hacer la copia de seguridad en %1: %2 La tienda no cambió y no quedó "
                                      "ninguna copia a medias.")
                           .arg(shown(folder), cause.trimmed()));
}

// Writes what the system still holds of the file to the disk, so that a copy reported made
// survives a power cut.
void syncToDisk(const QString &path, bool directory)
{
    const int fd = ::open(QFile::encodeName(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0)
        throw vx::DbError(systemCause(errno));
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0)
        throw vx::DbError(systemCause(error));
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

sqlite3 *sqliteHandle(vx::Connection &connection)
{
    const QVariant handle = connection.database().driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(handle.data());
    return nullptr;
}

// Tells how far the copy has come, from the size of the file written so far, at most twice a
// second. Meanwhile it hands what was written to the disk a few megabytes at a time: a counter's
// commit waits for the disk's journal, and a journal with a whole copy's data to write first would
// keep a sale waiting.
class CopyWatch {
public:
    CopyWatch(const QString &path, qint64 expected, const Progress &progress)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY)), m_expected(expected), m_progress(progress)
    {
        m_sinceLast.start();
    }
    ~CopyWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CopyWatch(const CopyWatch &) = delete;
    CopyWatch &operator=(const CopyWatch &) = delete;

    static int tick(void *self)
    {
        static_cast<CopyWatch *>(self)->look();
        return 0;
    }

private:
    static constexpr qint64 flushStep = 8 * 1024 * 1024;

    void look()
    {
        struct stat status {};
        if (m_fd < 0 || ::fstat(m_fd, &status) != 0)
            return;
        const qint64 written = status.st_size;
        if (written - m_flushed >= flushStep) {
            // The step before is waited for, this one only started: at most two steps unwritten.
            if (m_flushed > m_waited)
                ::sync_file_range(m_fd, m_waited, m_flushed - m_waited,
                                  SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            m_waited = m_flushed;
            ::sync_file_range(m_fd, m_flushed, written - m_flushed, SYNC_FILE_RANGE_WRITE);
            m_flushed = written;
        }
        if (m_sinceLast.elapsed() >= 500) {
            m_sinceLast.restart();
            const int percent = m_expected > 0 ? int(std::min<qint64>(99, written * 100 / m_expected)) : 0;
            m_progress(QStringLiteral("Copiando la base de datos... %1 %").arg(percent));
        }
    }

    int m_fd;
    qint64 m_expected;
    const Progress &m_progress;
    QElapsedTimer m_sinceLast;
    qint64 m_flushed = 0;
    qint64 m_waited = 0;
};

// Memory the integrity check of a copy may use for pages, in KB.
constexpr int checkCacheKilobytes = 256 * 1024;

// Calls `tick` now and then while a long statement runs on the connection, until it goes.
class ProgressHook {
public:
    ProgressHook(vx::Connection &connection, int (*tick)(void *), void *context) : m_raw(sqliteHandle(connection))
    {
        if (m_raw)
            sqlite3_progress_handler(m_raw, 100000, tick, context);
    }
    ~ProgressHook()
    {
        if (m_raw)
            sqlite3_progress_handler(m_raw, 0, nullptr, nullptr);
    }
    ProgressHook(const ProgressHook &) = delete;
    ProgressHook &operator=(const ProgressHook &) = delete;

private:
    sqlite3 *m_raw;
};

// Tells, twice a second, how long the check of the copy has been running: it has no end to
// measure against.
struct CheckWatch {
    const Progress &progress;
    QElapsedTimer running;
    qint64 lastSaid = 0;

    static int tick(void *self)
    {
        auto *watch = static_cast<CheckWatch *>(self);
        const qint64 elapsed = watch->running.elapsed();
        if (elapsed - watch->lastSaid >= 500) {
            watch->lastSaid = elapsed;
            watch->progress(QStringLiteral("Verificando la copia... %1 s").arg(elapsed / 1000));
        }
        return 0;
    }
};

void copySqlite(vx::Connection &shop, const QString &partial, const Progress &progress)
{
    {
        // A connection of its own: the long read and its progress stay apart from the caller's work.
        const auto reader = shop.openAnother();
        const qint64 pageSize = reader->scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        const qint64 pages = reader->scalar(QStringLiteral("PRAGMA page_count")).toLongLong()
                             - reader->scalar(QStringLiteral("PRAGMA freelist_count")).toLongLong();
        CopyWatch watch(partial, pages * pageSize, progress);
        const ProgressHook hook(*reader, &CopyWatch::tick, &watch);
        progress(QStringLiteral("Copiando la base de datos..."));
        QString quoted = partial;
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        // One read transaction: the copy is the shop as it stood at one moment, each sale whole or
        // absent, while the other workstations go on writing to the journal.
        reader->execute(QStringLiteral("VACUUM INTO '%1'").arg(quoted));
        // While the copy read, the sales written meanwhile piled up in the journal; carrying them
        // into the database here spares the next sale that work. A passive checkpoint never makes
        // a writer wait.
        if (!reader->readOnly())
            reader->execute(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    }
    syncToDisk(partial, false);

    progress(QStringLiteral("Verificando la copia..."));
    const auto copy = vx::Connection::openSqlite(partial, &data::vendrixSchema(), false, vx::Connection::Expect::Shop);
    // The check walks every table and index against each other; with the engine's small default
    // page cache it reads the same pages again and again.
    copy->execute(QStringLiteral("PRAGMA cache_size = -%1").arg(checkCacheKilobytes));
    copy->execute(QStringLiteral("PRAGMA mmap_size = %1").arg(qint64(checkCacheKilobytes) * 1024));
    CheckWatch watch{progress, {}, 0};
    watch.running.start();
    const ProgressHook hook(*copy, &CheckWatch::tick, &watch);
    QSqlQuery check = copy->execute(QStringLiteral("PRAGMA integrity_check"));
    QStringList problems;
    while (check.next()) {
        if (check.value(0).toString() != QLatin1String("ok"))
            problems << check.value(0).toString();
    }
    if (!problems.isEmpty())
        throw vx::DbError(QStringLiteral("la copia no pasó la verificación de integridad (%1).")
                              .arg(problems.mid(0, 3).join(QStringLiteral("; "))));
}

void copyPostgres(vx::Connection &shop, const QString &partial, const Progress &progress)
{
    const int major = shop.scalar(QStringLiteral("SHOW server_version_num")).toInt() / 10000;
    const QSqlDatabase server = shop.database();
    const QString dump = pgtools::find(QStringLiteral("pg_dump"), major);
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
                                                  QStringLiteral("--dbname=%1").arg(server.databaseName())},
                                                 server, tableLine);
    if (dumped.exitCode != 0)
        throw vx::DbError(pgtools::failureText(dumped));
    syncToDisk(partial, false);

    progress(QStringLiteral("Verificando la copia..."));
    const QString restore = pgtools::find(QStringLiteral("pg_restore"), major);
    QProcess list;
    list.start(restore, {QStringLiteral("--list"), partial});
    const bool listed = list.waitForFinished(300000) && list.exitStatus() == QProcess::NormalExit && list.exitCode() == 0;
    const QString contents = QString::fromLocal8Bit(list.readAllStandardOutput());
    if (!listed || !contents.contains(QStringLiteral(" TABLE DATA public %1 ").arg(vx::Schema::versionTable().toLower())))
        throw vx::DbError(QStringLiteral("la copia no se pudo leer de vuelta (%1).")
                              .arg(QString::fromLocal8Bit(list.readAllStandardError()).trimmed()));
}

QString copyExtension(const vx::Connection &shop)
{
    return shop.dialect().engine() == vx::SqlDialect::Engine::SQLite ? QStringLiteral("db") : QStringLiteral("dump");
}

}  // namespace

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

CopyMade makeCopy(vx::Connection &shop, const QString &folder, const Progress &progress, const QDateTime &when)
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
        if (shop.dialect().engine() == vx::SqlDialect::Engine::SQLite)
            copySqlite(shop, partial.path(), say);
        else
            copyPostgres(shop, partial.path(), say);
        if (!QFile::rename(partial.path(), finalPath))
            throw vx::DbError(QStringLiteral("no se pudo dar su nombre a la copia."));
        syncToDisk(folder, true);
    } catch (const vx::DbError &failure) {
        throw copyFailed(folder, failure.cause().isEmpty() ? failure.message() : failure.cause());
    }
    return {finalPath, QFileInfo(finalPath).size()};
}

CopyMade automaticCopy(vx::Connection &shop, const Progress &progress, const QDateTime &when)
{
    const CopyMade made = makeCopy(shop, defaultFolder(), progress, when);
    pruneCopies(defaultFolder());
    return made;
}

std::optional<CopyMade> copyOfTheDay(vx::Connection &shop, const Progress &progress, const QDateTime &when)
{
    const QStringList names = QDir(defaultFolder()).entryList(QDir::Files);
    for (const QString &name : names) {
        if (const auto made = copyTime(name); made && made->date() == when.date())
            return std::nullopt;
    }
    return automaticCopy(shop, progress, when);
}

}  // namespace backup
