// A backup copy of a big SQLite shop next to its floor, a plain copy of the same file to the same
// disk, made to last (synced); and the time each sale waits at a counter that keeps selling while
// the copy is made, next to the same sales without a copy running.

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

struct Latencies {
    QList<double> milliseconds;
    QString failure;

    double percentile(double p) const
    {
        if (milliseconds.isEmpty())
            return 0;
        QList<double> sorted = milliseconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min<qsizetype>(sorted.size() - 1, qsizetype(p * double(sorted.size())))];
    }
};

// A counter on a connection of its own, recording three-line cash sales one after another until
// told to stop, timing each.
void sellUntil(const QString &file, qint64 articles, const std::atomic<bool> &stop, Latencies &out)
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
            QElapsedTimer timer;
            timer.start();
            sales::recordSale(*db, entry);
            out.milliseconds << double(timer.nsecsElapsed()) / 1e6;
        }
    } catch (const std::exception &e) {
        out.failure = QString::fromUtf8(e.what());
    }
}

// Runs `work` while a counter sells beside it; returns the sales' waiting times.
Latencies sellingDuring(const QString &file, qint64 articles, const std::function<void()> &work)
{
    std::atomic<bool> stop{false};
    Latencies latencies;
    std::thread counter(sellUntil, file, articles, std::cref(stop), std::ref(latencies));
    work();
    stop = true;
    counter.join();
    return latencies;
}

void reportLatencies(const QString &what, const Latencies &l)
{
    if (!l.failure.isEmpty()) {
        bench::note(what, QStringLiteral("a sale failed: %1").arg(l.failure));
        return;
    }
    bench::note(what, QStringLiteral("%1 sales; median %2 ms, 99th percentile %3 ms, longest %4 ms")
                          .arg(l.milliseconds.size())
                          .arg(l.percentile(0.5), 0, 'f', 1)
                          .arg(l.percentile(0.99), 0, 'f', 1)
                          .arg(l.percentile(1.0), 0, 'f', 1));
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
    double checking = 0;
    qint64 copyBytes = 0;
    for (int round = 0; round < 2; ++round) {
        floor = std::min(floor, bench::timeSeconds([&] { plainCopy(file, work.filePath(QStringLiteral("plain.sqlite"))); }));
        QElapsedTimer sinceCheck;
        const QString folder = work.filePath(QStringLiteral("copias%1").arg(round));
        const double seconds = bench::timeSeconds([&] {
            copyBytes = backup::makeCopy(*shop, folder, [&](const QString &line) {
                if (line.startsWith(QLatin1String("Verificando")) && !sinceCheck.isValid())
                    sinceCheck.start();
            }).bytes;
        });
        if (seconds < copy) {
            copy = seconds;
            checking = double(sinceCheck.nsecsElapsed()) / 1e9;
        }
        QDir(folder).removeRecursively();
    }
    bench::report(QStringLiteral("SQLite: backup copy (consistent copy, synced, integrity check)"), copy,
                  QStringLiteral("plain file copy, synced"), floor);
    bench::note(QStringLiteral("  of which the integrity check of the copy"),
                QStringLiteral("%1 s; copy %2 (file %3)")
                    .arg(checking, 0, 'f', 2)
                    .arg(backup::sizeText(copyBytes), backup::sizeText(QFileInfo(file).size())));

    const double calmSeconds = std::max(2.0, copy);
    reportLatencies(QStringLiteral("SQLite: sale at a counter, no copy running"),
                    sellingDuring(file, counts.articles, [&] {
                        std::this_thread::sleep_for(std::chrono::milliseconds(qint64(calmSeconds * 1000)));
                    }));
    reportLatencies(QStringLiteral("SQLite: sale at a counter while a backup copy is made"),
                    sellingDuring(file, counts.articles, [&] {
                        backup::makeCopy(*shop, work.filePath(QStringLiteral("during")), {});
                    }));
}

const bench::Registrar registrar("backup", runBackup);

}  // namespace
