// Recording a sale at the counter on a big shop, next to its floor: the same INSERT and UPDATE
// statements, prepared once and run in one transaction through the same driver in plain SQL.
// On SQLite and, when a PostgreSQL server can be started here, on the same shop on the server.

#include "bench/Bench.h"
#include "bench/PostgresCluster.h"
#include "bench/SaleFloor.h"
#include "bench/SyntheticShop.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DbError.h"
#include "sales/ReceiptNumbers.h"
#include "sales/SaleRecording.h"

#include <QDir>

#include <algorithm>
#include <random>

namespace {

constexpr int repetitions = 200;
constexpr int warmUp = 5;
constexpr int linesPerSale = 5;

// The sales recorded, the same on every engine: five random articles each, paid in cash.
QList<sales::SaleEntry> makeSales(qint64 articles, std::uint32_t seed, int count)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<qint64> article(0, articles - 1);
    std::uniform_int_distribution<int> quantity(1, 3);
    std::uniform_int_distribution<int> price(10, 200);
    QList<sales::SaleEntry> out;
    for (int s = 0; s < count; ++s) {
        sales::SaleEntry entry;
        entry.dateText = vx::shopformat::formatDate(QDate::currentDate());
        entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
        for (int l = 0; l < linesPerSale; ++l)
            entry.lines << sales::SaleLine{bench::syntheticOwnCode(article(rng)), double(quantity(rng)),
                                           double(price(rng))};
        entry.operatorCode = 1;
        entry.accessLevel = 9;
        out << entry;
    }
    return out;
}

struct Medians {
    double recording = 0;
    double floor = 0;
};

// Alternates a recorded sale and its floor, so that both meet the same state of the shop.
Medians measure(vx::Connection &connection, const QList<sales::SaleEntry> &sales)
{
    bench::SaleFloor floor(connection);
    int floorNumber = sales::highestReceiptNumber(connection) + 1000000;
    QList<double> recording;
    QList<double> plain;
    for (int i = 0; i < sales.size(); ++i) {
        const double r = bench::timeSeconds([&] { sales::recordSale(connection, sales[i]); });
        const double f = bench::timeSeconds([&] { floor.record(sales[i], ++floorNumber); });
        if (i >= warmUp) {
            recording << r;
            plain << f;
        }
    }
    return {bench::median(recording), bench::median(plain)};
}

void reportEngine(const QString &engine, const Medians &m)
{
    bench::report(
        QStringLiteral("%1: record a %2-line sale, median of %3").arg(engine).arg(linesPerSale).arg(repetitions),
        m.recording, QStringLiteral("same writes, plain SQL"), m.floor);
}

void runSalesRecording(bench::Context &context)
{
    bench::ShopSize size;
    size.articles = context.option(QStringLiteral("articles"), 200000);
    size.movements = context.option(QStringLiteral("movements"), 200000);
    size.seed = std::uint32_t(context.option(QStringLiteral("seed"), size.seed));
    const QList<sales::SaleEntry> sales = makeSales(size.articles, size.seed, repetitions + warmUp);

    bench::ShopCounts counts;
    std::unique_ptr<vx::Connection> sqlite;
    const double building = bench::timeSeconds([&] {
        sqlite =
            bench::createSyntheticShop(QDir(context.workDir).filePath(QStringLiteral("sales.sqlite")), size, &counts);
    });
    bench::note(QStringLiteral("synthetic shop"), QStringLiteral("%1 articles, %2 MOVIM rows, %3 sales; built in %4 s")
                                                      .arg(counts.articles)
                                                      .arg(counts.movements)
                                                      .arg(counts.sales)
                                                      .arg(building, 0, 'f', 1));
    const Medians lite = measure(*sqlite, sales);
    reportEngine(QStringLiteral("SQLite"), lite);

    std::unique_ptr<bench::PostgresCluster> cluster;
    std::unique_ptr<vx::Connection> postgres;
    try {
        cluster =
            std::make_unique<bench::PostgresCluster>(QDir(context.workDir).filePath(QStringLiteral("pg-cluster")));
        postgres = bench::PostgresCluster::create(QStringLiteral("vxsales"));
    } catch (const vx::DbError &e) {
        bench::note(QStringLiteral("PostgreSQL"),
                    QStringLiteral("no server here, skipped: %1").arg(e.message().simplified()));
        return;
    }
    const double filling = bench::timeSeconds([&] {
        postgres->createSchema();
        bench::fillSyntheticShop(*postgres, size);
        // A server in use has statistics on its tables; right after a bulk load it has none yet.
        postgres->execute(QStringLiteral("ANALYZE"));
    });
    bench::note(QStringLiteral("same shop on PostgreSQL"), QStringLiteral("written in %1 s").arg(filling, 0, 'f', 1));
    const Medians pg = measure(*postgres, sales);
    reportEngine(QStringLiteral("PostgreSQL"), pg);
    bench::report(QStringLiteral("PostgreSQL: record a sale, against SQLite"), pg.recording,
                  QStringLiteral("on SQLite"), lite.recording);
}

const bench::Registrar registrar("salesrecording", runSalesRecording);

} // namespace
