// A backup copy of a big SQLite shop next to its floor, a plain copy of the same file to the same
// disk, made to last (synced); and the time each sale waits at a counter that keeps selling while
// the copy is made (and just after it), next to the same sales without a copy running; the
// longest wait is told with the part of the copy it fell in.

#include "backup/Backup.h"
#include "bench/Bench.h"
#include "bench/SyntheticShop.h"
#include "data/Schema.h"
#include "platform/core/ShopFormat.h"
#include "sales/SaleRecording.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The floor: the database file copied as it lies and synced, as a careful "cp" would.
void plainCopy(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error("plain copy failed");
    const int fd = ::open(QFile::encodeName(to).constData(), O_RDONLY);
    ::fsync(fd);
    ::close(fd);
}

// One sale's wait, and when it began, in seconds from the start of the run.
struct Wait {
    double began = 0;
    double milliseconds = 0;
};

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
            QElapsedTimer timer;
            timer.start();
            sales::recordSale(*db, entry);
            out.waits << Wait{began, double(timer.nsecsElapsed()) / 1e6};
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

// The moments a copy began each of its parts, in seconds on the caller's clock, from its progress.
struct CopyPhases {
    QList<QPair<double, QString>> starts;

    backup::Progress listener(const QElapsedTimer &clock)
    {
        return [this, &clock](const QString &line) {
            const QString phase = line.startsWith(QLatin1String("Copiando"))      ? QStringLiteral("copy")
                                  : line.startsWith(QLatin1String("Verificando")) ? QStringLiteral("check")
                                  : line.startsWith(QLatin1String("Guardando"))   ? QStringLiteral("sync")
                                                                                  : QString();
            if (!phase.isEmpty() && (starts.isEmpty() || starts.last().second != phase))
                starts.append({double(clock.nsecsElapsed()) / 1e9, phase});
        };
    }
    void ended(const QElapsedTimer &clock) { starts.append({double(clock.nsecsElapsed()) / 1e9, QStringLiteral("after the copy")}); }
    double seconds(const QString &phase) const
    {
        for (qsizetype i = 0; i + 1 < starts.size(); ++i) {
            if (starts[i].second == phase)
                return starts[i + 1].first - starts[i].first;
        }
        return 0;
    }
    QString at(double moment) const
    {
        QString phase = QStringLiteral("before the copy");
        for (const auto &start : starts) {
            if (start.first <= moment)
                phase = start.second;
        }
        return phase;
    }
};

void reportLatencies(const QString &what, const Latencies &l, const CopyPhases *phases = nullptr)
{
    if (!l.failure.isEmpty()) {
        bench::note(what, QStringLiteral("a sale failed: %1").arg(l.failure));
        return;
    }
    const Wait longest = l.longest();
    bench::note(what, QStringLiteral("%1 sales; median %2 ms, 99th percentile %3 ms, longest %4 ms%5")
                          .arg(l.waits.size())
                          .arg(l.percentile(0.5), 0, 'f', 1)
                          .arg(l.percentile(0.99), 0, 'f', 1)
                          .arg(longest.milliseconds, 0, 'f', 1)
                          .arg(phases ? QStringLiteral(" (began during: %1)").arg(phases->at(longest.began)) : QString()));
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

    // Alternated, so that both meet the same disk cache; the best of two of each.
    double floor = 1e9;
    double copy = 1e9;
    CopyPhases split;
    qint64 copyBytes = 0;
    for (int round = 0; round < 2; ++round) {
        floor = std::min(floor, bench::timeSeconds([&] { plainCopy(file, work.filePath(QStringLiteral("plain.sqlite"))); }));
        const QString folder = work.filePath(QStringLiteral("copias%1").arg(round));
        CopyPhases phases;
        QElapsedTimer clock;
        clock.start();
        copyBytes = backup::makeCopy(*shop, folder, phases.listener(clock)).bytes;
        phases.ended(clock);
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        if (seconds < copy) {
            copy = seconds;
            split = phases;
        }
        QDir(folder).removeRecursively();
    }
    bench::report(QStringLiteral("SQLite: backup copy (consistent copy, check, synced)"), copy,
                  QStringLiteral("plain file copy, synced"), floor);
    bench::note(QStringLiteral("  split of the copy"),
                QStringLiteral("copy %1 s, check %2 s (the sync runs alongside), sync left after the check %3 s; "
                               "copy %4 (file %5)")
                    .arg(split.seconds(QStringLiteral("copy")), 0, 'f', 2)
                    .arg(split.seconds(QStringLiteral("check")), 0, 'f', 2)
                    .arg(split.seconds(QStringLiteral("sync")), 0, 'f', 2)
                    .arg(backup::sizeText(copyBytes), backup::sizeText(QFileInfo(file).size())));

    // The counter sells for as long as a copy and the second after it takes, with and without one.
    constexpr double after = 1.0;
    reportLatencies(QStringLiteral("SQLite: sale at a counter, no copy running"),
                    sellingDuring(file, counts.articles, after, [&](const QElapsedTimer &) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(qint64(std::max(2.0, copy) * 1000)));
                    }));
    CopyPhases during;
    const Latencies selling = sellingDuring(file, counts.articles, after, [&](const QElapsedTimer &clock) {
        backup::makeCopy(*shop, work.filePath(QStringLiteral("during")), during.listener(clock));
        during.ended(clock);
    });
    reportLatencies(QStringLiteral("SQLite: sale at a counter while a backup copy is made (and 1 s after)"), selling, &during);
}

const bench::Registrar registrar("backup", runBackup);

}  // namespace
