#include "backup/SqliteCopy.h"

#include "platform/db/DbError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {

namespace {

// Pages copied at a time: between two steps the copy tells its progress and hands what it wrote
// to the disk. The read snapshot is held across steps, so the copy stays one moment of the shop.
constexpr int pagesPerStep = 2048;

// How much written data the copy lets the system keep before handing it to the disk.
constexpr qint64 flushStep = 8 * 1024 * 1024;

// How long a statement waits for another connection's momentary lock.
constexpr int lockWaitMilliseconds = 10000;

QString engineCause(sqlite3 *db, int code)
{
    if ((code & 0xff) == SQLITE_FULL)
        return QStringLiteral("El disco está lleno.");
    if (const int error = sqlite3_system_errno(db); error != 0 && (code & 0xff) != SQLITE_CORRUPT)
        return systemCause(error);
    return QString::fromUtf8(sqlite3_errmsg(db)) + QLatin1Char('.');
}

class RawDatabase {
public:
    RawDatabase(const QString &name, int flags)
    {
        const int code = sqlite3_open_v2(QFile::encodeName(name).constData(), &m_db, flags | SQLITE_OPEN_URI, nullptr);
        if (code != SQLITE_OK)
            throw vx::DbError(engineCause(m_db, code));
        sqlite3_busy_timeout(m_db, lockWaitMilliseconds);
    }
    ~RawDatabase() { sqlite3_close_v2(m_db); }
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;

    sqlite3 *handle() const { return m_db; }
    void execute(const char *sql)
    {
        if (const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); code != SQLITE_OK)
            throw vx::DbError(engineCause(m_db, code));
    }

private:
    sqlite3 *m_db = nullptr;
};

// Hands what the copy wrote to the disk a few megabytes at a time, so that the final sync is short
// and a counter's commit, which waits for the disk, never finds a whole copy's data queued before
// it; and tells how far the copy has come, at most twice a second.
class WritePacer {
public:
    WritePacer(const QString &path, const Progress &progress)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY)), m_progress(progress)
    {
        m_sinceLast.start();
    }
    ~WritePacer()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    WritePacer(const WritePacer &) = delete;
    WritePacer &operator=(const WritePacer &) = delete;

    void stepDone(int remaining, int total)
    {
        struct stat status {};
        if (m_fd >= 0 && ::fstat(m_fd, &status) == 0 && status.st_size - m_flushed >= flushStep) {
            // The step before is waited for, this one only started: at most two steps unwritten.
            if (m_flushed > m_waited)
                ::sync_file_range(m_fd, m_waited, m_flushed - m_waited,
                                  SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            m_waited = m_flushed;
            ::sync_file_range(m_fd, m_flushed, status.st_size - m_flushed, SYNC_FILE_RANGE_WRITE);
            m_flushed = status.st_size;
        }
        if (m_sinceLast.elapsed() >= 500 && total > 0) {
            m_sinceLast.restart();
            m_progress(QStringLiteral("Copiando la base de datos... %1 %").arg(qint64(total - remaining) * 100 / total));
        }
    }

private:
    int m_fd;
    const Progress &m_progress;
    QElapsedTimer m_sinceLast;
    qint64 m_flushed = 0;
    qint64 m_waited = 0;
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

void copyPages(const QString &source, bool readOnly, RawDatabase &target, const QString &partial, const Progress &progress)
{
    RawDatabase shop(source, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    // One read transaction over every step: the copy is the shop as it stood at one moment, each
    // sale whole or absent, while the other workstations go on writing to the journal.
    shop.execute("BEGIN DEFERRED; SELECT count(*) FROM sqlite_master");
    sqlite3_backup *copy = sqlite3_backup_init(target.handle(), "main", shop.handle(), "main");
    if (!copy)
        throw vx::DbError(engineCause(target.handle(), sqlite3_errcode(target.handle())));
    WritePacer pacer(partial, progress);
    int code = SQLITE_OK;
    while ((code = sqlite3_backup_step(copy, pagesPerStep)) == SQLITE_OK)
        pacer.stepDone(sqlite3_backup_remaining(copy), sqlite3_backup_pagecount(copy));
    sqlite3_backup_finish(copy);
    if (code != SQLITE_DONE)
        throw vx::DbError(engineCause(target.handle(), code));
    shop.execute("COMMIT");
    // While the copy read, the sales written meanwhile piled up in the journal; carrying them into
    // the database at once spares the next sale that work. A passive checkpoint never makes a
    // writer wait, and one that finds the journal busy leaves the work to the next sale: the copy
    // is whole either way, so its outcome is not the copy's.
    if (!readOnly)
        sqlite3_wal_checkpoint_v2(shop.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

}  // namespace

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

void copySqliteFile(const QString &source, bool readOnly, const QString &partial, const Progress &progress)
{
    RawDatabase target(partial, SQLITE_OPEN_READWRITE);
    // The file is the copy's only until it is whole; a journal beside it would only double the
    // writing, and the copy is synced as a whole at the end.
    target.execute("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
    progress(QStringLiteral("Copiando la base de datos..."));
    copyPages(source, readOnly, target, partial, progress);
    // The pages carry the shop's journal mode; the copy is a file standing alone, readable even
    // from a medium that cannot be written to.
    target.execute("PRAGMA journal_mode=DELETE");

    progress(QStringLiteral("Verificando la copia..."));
    // Every page of the copy read once, each table and index walked, each record's format and every
    // page's use proven. The matching of index entries to rows is left out: the pages are the
    // shop's own, byte for byte, and "vendrix check" and the restore prove that matching in full.
    const QByteArray mapped = QByteArrayLiteral("PRAGMA mmap_size=") + QByteArray::number(QFileInfo(partial).size());
    target.execute(mapped.constData());
    CheckWatch watch{progress, {}, 0};
    watch.running.start();
    sqlite3_progress_handler(target.handle(), 100000, &CheckWatch::tick, &watch);
    sqlite3_stmt *check = nullptr;
    int code = sqlite3_prepare_v2(target.handle(), "PRAGMA quick_check", -1, &check, nullptr);
    QStringList problems;
    while (code == SQLITE_OK && (code = sqlite3_step(check)) == SQLITE_ROW) {
        const QString line = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)));
        if (line != QLatin1String("ok"))
            problems << line;
        code = SQLITE_OK;
    }
    sqlite3_finalize(check);
    sqlite3_progress_handler(target.handle(), 0, nullptr, nullptr);
    if (code != SQLITE_DONE)
        problems << engineCause(target.handle(), code);
    if (!problems.isEmpty())
        throw vx::DbError(QStringLiteral("la copia no pasó la verificación de integridad (%1).")
                              .arg(problems.mid(0, 3).join(QStringLiteral("; "))));
}

}  // namespace backup
