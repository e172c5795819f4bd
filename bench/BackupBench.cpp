// A backup copy of a big SQLite shop next to its floor, a plain copy of the same file to the same
// disk, made to last (synced); and the time each sale waits at a counter that keeps selling while
// the copy is made (and just after it), next to the same sales without a copy running and beside
// the plain copy; the waits over 50 ms are told with the parts of the copy they fell in.

#include "backup/Backup.h"
#include "bench/Bench.h"
#include "bench/SyntheticShop.h"
#include "data/Schema.h"
#include "platform/core/ShopFormat.h"
#include "sales/SaleRecording.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Hands the system's pending writes to the disk, and with them the release of the space of files
// just removed (the disk may be told of every freed block): each timing then starts on a settled
// disk instead of paying for what the one before it left behind.
void settleDisk()
{
    ::sync();
}

// The floor: the database file copied as it lies and synced, as a careful "cp" would.
void plainCopy(const QString &from, const QString &to)
{
    if (!QFile::copy(from, to))
        throw std::runtime_error("plain copy failed");
    const int fd = ::open(QFile::encodeName(to).constData(), O_RDONLY);
    ::fsync(fd);
    ::close(fd);
}

// One sale's wait, and when it began, in seconds from the start of the run; of the wait, the time
// the counter's thread ran and the time it stood ready waiting for a core (the rest it waited for
// the disk or a lock).
struct Wait {
    double began = 0;
    double milliseconds = 0;
    double running = 0;
    double waitingForCore = 0;
};

// The thread's time on a core and time waiting in the run queue so far, in milliseconds, as the
// system's scheduler counts them.
QPair<double, double> schedulerTimes()
{
    QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
    if (!stat.open(QIODevice::ReadOnly))
        return {0, 0};
    const QList<QByteArray> fields = stat.readAll().split(' ');
    return {fields.value(0).toDouble() / 1e6, fields.value(1).toDouble() / 1e6};
}

struct Latencies {
    QList<Wait> waits;
    QString failure;

    double percentile(double p) const
    {
        if (waits.isEmpty())
            return 0;
        QList<double> sorted;
        for (const Wait &wait : waits)
            sorted << wait.milliseconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min<qsizetype>(sorted.size() - 1, qsizetype(p * double(sorted.size())))];
    }
    Wait longest() const
    {
        return waits.isEmpty() ? Wait{}
                               : *std::max_element(waits.begin(), waits.end(), [](const Wait &a, const Wait &b) {
                                     return a.milliseconds < b.milliseconds;
                                 });
    }
};

// A counter on a connection of its own, recording three-line cash sales one after another until
// told to stop, timing each.
void sellUntil(const QString &file, qint64 articles, const QElapsedTimer &run, const std::atomic<bool> &stop,
               Latencies &out)
{
    try {
        auto db = vx::Connection::openSqlite(file, &data::vendrixSchema(), false);
        std::mt19937 rng(7);
        std::uniform_int_distribution<qint64> article(0, articles - 1);
        while (!stop.load()) {
            sales::SaleEntry entry;
            entry.dateText = vx::shopformat::formatDate(QDate::currentDate());
            entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
            for (int l = 0; l < 3; ++l)
                entry.lines << sales::SaleLine{bench::syntheticOwnCode(article(rng)), 1.0, 10.0};
            entry.operatorCode = 1;
            entry.accessLevel = 9;
            const double began = double(run.nsecsElapsed()) / 1e9;
            const auto before = schedulerTimes();
            QElapsedTimer timer;
            timer.start();
            sales::recordSale(*db, entry);
            const double milliseconds = double(timer.nsecsElapsed()) / 1e6;
            const auto after = schedulerTimes();
            out.waits << Wait{began, milliseconds, after.first - before.first, after.second - before.second};
        }
    } catch (const std::exception &e) {
        out.failure = QString::fromUtf8(e.what());
    }
}

// Runs `work` while a counter sells beside it, and the counter on for `after` seconds more (the
// sales right after a copy meet what the copy left behind); returns the sales' waiting times.
// `work` gets the clock the waits are told on.
Latencies sellingDuring(const QString &file, qint64 articles, double after,
                        const std::function<void(const QElapsedTimer &)> &work)
{
    std::atomic<bool> stop{false};
    Latencies latencies;
    QElapsedTimer run;
    run.start();
    std::thread counter(sellUntil, file, articles, std::cref(run), std::cref(stop), std::ref(latencies));
    work(run);
    std::this_thread::sleep_for(std::chrono::milliseconds(qint64(after * 1000)));
    stop = true;
    counter.join();
    return latencies;
}

// What a copy did and when, in seconds on the run's clock: the milestones it tells, from
// whichever of its threads reaches them.
class Timeline {
public:
    explicit Timeline(const QElapsedTimer &clock) : m_clock(clock) {}

    backup::Milestone listener()
    {
        return [this](const char *event) { mark(QString::fromLatin1(event)); };
    }
    void mark(const QString &event)
    {
        const std::lock_guard lock(m_mutex);
        m_events.insert(event, double(m_clock.nsecsElapsed()) / 1e9);
    }
    // When the event happened, or a negative number when it did not.
    double at(const QString &event) const
    {
        const std::lock_guard lock(m_mutex);
        return m_events.value(event, -1);
    }
    // The part from one event to another, in seconds (0 when either is missing).
    double span(const QString &from, const QString &to) const
    {
        const double begun = at(from);
        const double ended = at(to);
        return begun < 0 || ended < 0 ? 0 : ended - begun;
    }
    // The copy's parts running at some time between `from` and `to`.
    QString during(double from, double to) const
    {
        QStringList parts;
        for (const Part &part : parts_()) {
            const double begun = at(part.from);
            const double ended = at(part.to);
            if (begun >= 0 && begun <= to && (ended < 0 || ended >= from))
                parts << part.name;
        }
        return parts.isEmpty() ? QStringLiteral("no copy running") : parts.join(QStringLiteral(" + "));
    }

private:
    struct Part {
        QString name;
        QString from;
        QString to;
    };
    static QList<Part> parts_()
    {
        return {{QStringLiteral("page copy"), QStringLiteral("pages begun"), QStringLiteral("pages copied")},
                {QStringLiteral("checkpoint"), QStringLiteral("pages copied"), QStringLiteral("checkpoint ended")},
                {QStringLiteral("check A"), QStringLiteral("check begun"), QStringLiteral("check A ended")},
                {QStringLiteral("check B"), QStringLiteral("check begun"), QStringLiteral("check B ended")},
                {QStringLiteral("sync"), QStringLiteral("check begun"), QStringLiteral("sync ended")},
                {QStringLiteral("rename"), QStringLiteral("copy whole"), QStringLiteral("copy ended")},
                {QStringLiteral("after the copy"), QStringLiteral("copy ended"), QStringLiteral("never")}};
    }

    const QElapsedTimer &m_clock;
    mutable std::mutex m_mutex;
    QHash<QString, double> m_events;
};

// A copy of the shop told the milestones on the timeline; its size.
qint64 copyOnTimeline(const backup::CopySource &shop, const QString &folder, Timeline &timeline)
{
    backup::CopySource measured = shop;
    measured.milestone = timeline.listener();
    const qint64 bytes = backup::makeCopy(measured, folder, {}).bytes;
    timeline.mark(QStringLiteral("copy ended"));
    return bytes;
}

// Each wait over 50 ms is told with the parts of the backup copy it fell in, when there is one, or
// else with `beside`.
void reportLatencies(const QString &what, const Latencies &l, const Timeline *timeline, const QString &beside)
{
    if (!l.failure.isEmpty()) {
        bench::note(what, QStringLiteral("a sale failed: %1").arg(l.failure));
        return;
    }
    const auto over = [&l](double milliseconds) {
        return std::count_if(l.waits.begin(), l.waits.end(), [milliseconds](const Wait &w) { return w.milliseconds > milliseconds; });
    };
    bench::note(what, QStringLiteral("%1 sales; median %2 ms, 99th percentile %3 ms, longest %4 ms; %5 over 100 ms")
                          .arg(l.waits.size())
                          .arg(l.percentile(0.5), 0, 'f', 1)
                          .arg(l.percentile(0.99), 0, 'f', 1)
                          .arg(l.longest().milliseconds, 0, 'f', 1)
                          .arg(over(100)));
    for (const Wait &wait : l.waits) {
        if (wait.milliseconds > 50)
            bench::note(QStringLiteral("  a sale over 50 ms"),
                        QStringLiteral("began at %1 s, %2 ms (ran %3, waited for a core %4, for the disk or a lock %5), "
                                       "during: %6")
                            .arg(wait.began, 0, 'f', 2)
                            .arg(wait.milliseconds, 0, 'f', 1)
                            .arg(wait.running, 0, 'f', 1)
                            .arg(wait.waitingForCore, 0, 'f', 1)
                            .arg(wait.milliseconds - wait.running - wait.waitingForCore, 0, 'f', 1)
                            .arg(timeline ? timeline->during(wait.began, wait.began + wait.milliseconds / 1000)
                                          : beside));
    }
}

QString splitText(const Timeline &t)
{
    return QStringLiteral("page copy %1 s, checkpoint %2 s, check %3 s (A %4 s, B %5 s), sync alongside %6 s (ended "
                          "%7 s after the start), rename %8 s")
        .arg(t.span(QStringLiteral("pages begun"), QStringLiteral("pages copied")), 0, 'f', 2)
        .arg(t.span(QStringLiteral("pages copied"), QStringLiteral("checkpoint ended")), 0, 'f', 2)
        .arg(std::max(t.span(QStringLiteral("check begun"), QStringLiteral("check A ended")),
                      t.span(QStringLiteral("check begun"), QStringLiteral("check B ended"))),
             0, 'f', 2)
        .arg(t.span(QStringLiteral("check begun"), QStringLiteral("check A ended")), 0, 'f', 2)
        .arg(t.span(QStringLiteral("check begun"), QStringLiteral("check B ended")), 0, 'f', 2)
        .arg(t.span(QStringLiteral("check begun"), QStringLiteral("sync ended")), 0, 'f', 2)
        .arg(t.span(QStringLiteral("pages begun"), QStringLiteral("sync ended")), 0, 'f', 2)
        .arg(t.span(QStringLiteral("copy whole"), QStringLiteral("copy ended")), 0, 'f', 2);
}

void runBackup(bench::Context &context)
{
    const bench::ShopSize size = bench::shopSizeFromOptions(context);
    const QDir work(context.workDir);
    const QString file = work.filePath(QStringLiteral("shop.sqlite"));
    bench::ShopCounts counts;
    const double building = bench::timeSeconds([&] { bench::createSyntheticShop(file, size, &counts); });
    bench::note(QStringLiteral("synthetic shop"), QStringLiteral("%1 articles, %2 MOVIM rows, %3 sales, %4; built in %5 s")
                                                      .arg(counts.articles)
                                                      .arg(counts.movements)
                                                      .arg(counts.sales)
                                                      .arg(backup::sizeText(QFileInfo(file).size()))
                                                      .arg(building, 0, 'f', 1));
    auto shop = vx::Connection::openSqlite(file, &data::vendrixSchema(), false, vx::Connection::Expect::Shop);

    const backup::CopySource source(*shop);

    // Alternated, so that both meet the same disk cache, and each on a settled disk; the best of
    // three of each, every round told.
    double floor = 1e9;
    double copy = 1e9;
    QString split;
    QStringList rounds;
    qint64 copyBytes = 0;
    for (int round = 0; round < 3; ++round) {
        const QString plainFile = work.filePath(QStringLiteral("plain.sqlite"));
        settleDisk();
        const double plain = bench::timeSeconds([&] { plainCopy(file, plainFile); });
        QFile::remove(plainFile);
        settleDisk();
        floor = std::min(floor, plain);
        const QString folder = work.filePath(QStringLiteral("copias%1").arg(round));
        QElapsedTimer clock;
        clock.start();
        Timeline timeline(clock);
        timeline.mark(QStringLiteral("copy begun"));
        copyBytes = copyOnTimeline(source, folder, timeline);
        const double seconds = timeline.span(QStringLiteral("copy begun"), QStringLiteral("copy ended"));
        rounds << QStringLiteral("%1 / %2 ms").arg(seconds * 1000, 0, 'f', 0).arg(plain * 1000, 0, 'f', 0);
        if (seconds < copy) {
            copy = seconds;
            split = splitText(timeline);
        }
        QDir(folder).removeRecursively();
        settleDisk();
    }
    bench::report(QStringLiteral("SQLite: backup copy (consistent copy, check, synced)"), copy,
                  QStringLiteral("plain file copy, synced"), floor);
    bench::note(QStringLiteral("  each round, copy / plain"), rounds.join(QStringLiteral(", ")));
    bench::note(QStringLiteral("  split of the copy"), QStringLiteral("%1; copy %2 (file %3)")
                                                           .arg(split, backup::sizeText(copyBytes),
                                                                backup::sizeText(QFileInfo(file).size())));

    // The counter sells while a copy is made and for a second after it, then as long again with no
    // copy: the same number of chances for a slow sale, so that the two are comparable.
    constexpr double after = 1.0;
    std::unique_ptr<Timeline> during;
    double copying = 0;
    const Latencies selling = sellingDuring(file, counts.articles, after, [&](const QElapsedTimer &run) {
        during = std::make_unique<Timeline>(run);
        copyOnTimeline(source, work.filePath(QStringLiteral("during")), *during);
        copying = during->at(QStringLiteral("copy ended"));
    });
    const Latencies quiet = sellingDuring(file, counts.articles, after, [&](const QElapsedTimer &) {
        std::this_thread::sleep_for(std::chrono::milliseconds(qint64(copying * 1000)));
    });
    reportLatencies(QStringLiteral("SQLite: sale at a counter, no copy running (as long)"), quiet, nullptr,
                    QStringLiteral("no copy running"));
    // The disk itself, after a gigabyte written to it, may keep a sale's commit waiting for a while:
    // the same counter beside the plain copy tells what is the disk's and what is the backup's.
    const QString plainFile = work.filePath(QStringLiteral("plain.sqlite"));
    settleDisk();
    const Latencies besidePlain = sellingDuring(file, counts.articles, after, [&](const QElapsedTimer &) {
        plainCopy(file, plainFile);
        std::this_thread::sleep_for(std::chrono::milliseconds(qint64(std::max(0.0, copying - floor) * 1000)));
    });
    QFile::remove(plainFile);
    settleDisk();
    reportLatencies(QStringLiteral("SQLite: sale at a counter while a plain copy is made (as long, and 1 s after)"),
                    besidePlain, nullptr, QStringLiteral("the plain copy or the second after it"));
    bench::note(QStringLiteral("  split of the copy beside the counter"), splitText(*during));
    reportLatencies(QStringLiteral("SQLite: sale at a counter while a backup copy is made (and 1 s after)"), selling,
                    during.get(), {});
}

const bench::Registrar registrar("backup", runBackup);

}  // namespace
