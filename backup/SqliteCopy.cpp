#include "backup/SqliteCopy.h"

#include "backup/CopyVfs.h"
#include "backup/IdleThread.h"
#include "platform/db/DbError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
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

// How many times the copy carries the journal into the database after it, each pass carrying what
// the counters wrote during the one before.
constexpr int checkpointPasses = 4;

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
    RawDatabase(const QString &name, int flags, const char *vfs = nullptr)
    {
        const int code = sqlite3_open_v2(QFile::encodeName(name).constData(), &m_db, flags | SQLITE_OPEN_URI, vfs);
        if (code != SQLITE_OK)
            throw vx::DbError(engineCause(m_db, code));
        sqlite3_busy_timeout(m_db, lockWaitMilliseconds);
    }
    ~RawDatabase() { sqlite3_close_v2(m_db); }
    RawDatabase(RawDatabase &&other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;

    sqlite3 *handle() const { return m_db; }
    // The first column of every row; a statement that cannot run throws, or with `mustRun` unset
    // gives nothing.
    QStringList strings(const QByteArray &sql, bool mustRun = true)
    {
        sqlite3_stmt *statement = nullptr;
        int code = sqlite3_prepare_v2(m_db, sql.constData(), -1, &statement, nullptr);
        QStringList values;
        while (code == SQLITE_OK && (code = sqlite3_step(statement)) == SQLITE_ROW) {
            values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
            code = SQLITE_OK;
        }
        sqlite3_finalize(statement);
        if (code != SQLITE_DONE && mustRun)
            throw vx::DbError(engineCause(m_db, code));
        return values;
    }
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

// The check of a copy: every table and index walked from its root, each page's and each record's
// format proven, on two connections at once, the biggest tables first (two halves of a big shop
// take about 60 % of the time of the whole check each). Left out are the matching of index entries
// to rows and the accounting of unused pages, which take several times longer: the pages are the
// shop's own, byte for byte, and "vendrix check" and every restore prove those in full.
class CopyCheck {
public:
    CopyCheck(const QString &path, const Milestone &milestone) : m_path(path), m_milestone(milestone) {}

    // The calling thread tells the progress twice a second while two threads, at its priority,
    // walk the tables.
    QStringList run(const Progress &progress)
    {
        {
            RawDatabase first = reader();
            m_tables = biggestFirst(first);
        }
        m_milestone("check begun");
        m_running = 2;
        std::thread first([this] { checkHalf("check A ended"); });
        std::thread second([this] { checkHalf("check B ended"); });
        QElapsedTimer running;
        running.start();
        {
            std::unique_lock lock(m_mutex);
            while (!m_ended.wait_for(lock, std::chrono::milliseconds(500), [this] { return m_running == 0; })) {
                lock.unlock();
                progress(QStringLiteral("Verificando la copia... %1 s").arg(running.elapsed() / 1000));
                lock.lock();
            }
        }
        first.join();
        second.join();
        return m_problems;
    }

private:
    RawDatabase reader() const
    {
        RawDatabase db(m_path, SQLITE_OPEN_READONLY);
        // Read through the system's own cache of the file, without copying each page again.
        const QByteArray mapped = QByteArrayLiteral("PRAGMA mmap_size=") + QByteArray::number(QFileInfo(m_path).size());
        db.execute(mapped.constData());
        return db;
    }

    // The tables (the catalogue among them), the likely biggest first, so that the two connections
    // end near the same time: rows as the highest row number tells them, times the indexes to walk.
    static QStringList biggestFirst(RawDatabase &db)
    {
        QList<QPair<qint64, QString>> sized{{0, QStringLiteral("sqlite_master")}};
        for (const QString &table : db.strings("SELECT name FROM sqlite_master WHERE type = 'table'")) {
            const QString quoted = QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\""));
            const QStringList rows = db.strings(QStringLiteral("SELECT max(rowid) FROM \"%1\"").arg(quoted).toUtf8(), false);
            const QStringList indexes = db.strings(
                QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = '%1'")
                    .arg(QString(table).replace(QLatin1Char('\''), QStringLiteral("''")))
                    .toUtf8());
            sized.append({rows.value(0).toLongLong() * (1 + indexes.value(0).toLongLong()), table});
        }
        std::sort(sized.begin(), sized.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
        QStringList names;
        for (const auto &table : sized)
            names << table.second;
        return names;
    }

    void checkTables(RawDatabase &db)
    {
        for (qsizetype at = m_next++; at < m_tables.size(); at = m_next++) {
            const QString literal = QString(m_tables[at]).replace(QLatin1Char('\''), QStringLiteral("''"));
            for (const QString &line : db.strings(QStringLiteral("PRAGMA quick_check('%1')").arg(literal).toUtf8())) {
                if (line != QLatin1String("ok"))
                    note(line);
            }
        }
    }

    void checkHalf(const char *endMilestone)
    {
        try {
            RawDatabase db = reader();
            checkTables(db);
        } catch (const vx::DbError &failure) {
            note(failure.message());
        }
        m_milestone(endMilestone);
        const std::lock_guard lock(m_mutex);
        --m_running;
        m_ended.notify_all();
    }

    void note(const QString &problem)
    {
        const std::lock_guard lock(m_mutex);
        m_problems << problem;
    }

    QString m_path;
    const Milestone &m_milestone;
    QStringList m_tables;
    std::atomic<qsizetype> m_next{0};
    std::mutex m_mutex;
    std::condition_variable m_ended;
    int m_running = 0;
    QStringList m_problems;
};

void copyPages(const QString &source, bool readOnly, RawDatabase &target, const QString &partial, const Progress &progress,
               const Milestone &milestone)
{
    RawDatabase shop(source, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, readAheadVfs());
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
    milestone("pages copied");
    // While the copy read, the sales written meanwhile piled up in the journal; carrying them into
    // the database at once spares the next sale that work. A passive checkpoint never makes a
    // writer wait, and one that finds the journal busy leaves the work to the next sale: the copy
    // is whole either way, so its outcome is not the copy's. The sales recorded during one pass are
    // carried by the next: only a journal carried whole lets the next sale start it afresh, instead
    // of sorting the whole journal's pages to carry the last few.
    for (int pass = 0; pass < checkpointPasses && !readOnly; ++pass) {
        int logged = 0;
        int carried = 0;
        if (sqlite3_wal_checkpoint_v2(shop.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, &logged, &carried) != SQLITE_OK
            || carried >= logged)
            break;
    }
    milestone("checkpoint ended");
}

// Proves the copy sound while the disk writes it: the check only reads what the system holds.
void checkAndSync(const QString &partial, const Progress &progress, const Milestone &mark)
{
    std::optional<vx::DbError> unsynced;
    std::atomic<bool> synced{false};
    std::thread syncing([&partial, &unsynced, &synced, &mark] {
        try {
            syncToDisk(partial, false);
        } catch (const vx::DbError &failure) {
            unsynced = failure;
        }
        mark("sync ended");
        synced = true;
    });
    QStringList problems;
    try {
        problems = CopyCheck(partial, mark).run(progress);
    } catch (...) {
        syncing.join();
        throw;
    }
    if (!synced)
        progress(QStringLiteral("Guardando la copia en el disco..."));
    syncing.join();
    if (unsynced)
        throw *unsynced;
    if (!problems.isEmpty())
        throw vx::DbError(QStringLiteral("la copia no pasó la verificación de integridad (%1).")
                              .arg(problems.mid(0, 3).join(QStringLiteral("; "))));
    mark("copy whole");
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

void copySqliteFile(const QString &source, bool readOnly, const QString &partial, const Progress &progress,
                    const Milestone &milestone)
{
    const Milestone mark = milestone ? milestone : Milestone([](const char *) {});
    {
        RawDatabase target(partial, SQLITE_OPEN_READWRITE, coalescingVfs());
        // The file is the copy's only until it is whole; a journal beside it would only double the
        // writing, and the copy is synced as a whole at the end.
        target.execute("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
        progress(QStringLiteral("Copiando la base de datos..."));
        mark("pages begun");
        // At the caller's priority: while the copy reads, the sales recorded meanwhile pile up in the
        // shop's journal, and the longer the read, the longer the pass that carries them after it.
        copyPages(source, readOnly, target, partial, progress, mark);
        // The pages carry the shop's journal mode; the copy is a file standing alone, readable even
        // from a medium that cannot be written to.
        target.execute("PRAGMA journal_mode=DELETE");
    }
    progress(QStringLiteral("Verificando la copia..."));
    // The check works on the copy alone and yields the cores to the counters: a sale that waited
    // for a core would wait for the check, while the check only ends a little later.
    runAtIdlePriority([&partial, &mark](const Progress &say) { checkAndSync(partial, say, mark); }, progress);
}

}  // namespace backup
