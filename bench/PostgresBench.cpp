// The dataset operations users wait for, on a PostgreSQL server next to SQLite: the same seeded
// shop is written into both, and each operation runs on both in the same run.

#include "bench/Bench.h"
#include "bench/PostgresCluster.h"
#include "bench/SyntheticShop.h"
#include "data/DataModule.h"
#include "data/Schema.h"

#include <QDir>

#include <random>

namespace {

constexpr int locates = 1000;
constexpr int histories = 300;
constexpr qint64 walkedRows = 100000;

struct Timings {
    double openLast = 0;
    double locate = 0;
    double partial = 0;
    double history = 0;
    double walk = 0;
};

Timings measure(vx::Connection &connection, const bench::ShopCounts &counts, std::uint32_t seed)
{
    TDM1 module(connection.openAnother());
    vx::Table &stock = *module.Stock;
    vx::Table &movim = *module.Movim;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<qint64> article(0, counts.articles - 1);
    Timings t;

    t.openLast = bench::timeSeconds([&] {
        stock.setIndexFieldNames(QStringLiteral("ARTCMCT"));
        stock.open();
        stock.last();
        stock.fieldByName(QStringLiteral("ARTDES"))->asString();
    });
    t.locate = bench::timeSeconds([&] {
                   for (int i = 0; i < locates; ++i)
                       stock.locate(QStringLiteral("ARTCMCT"), bench::syntheticOwnCode(article(rng)));
               })
               / locates;
    stock.setIndexFieldNames(QStringLiteral("ARTDES"));
    QStringList prefixes;
    for (int i = 0; i < locates; ++i) {
        stock.setRecNo(int(article(rng)) + 1);
        prefixes << stock.fieldByName(QStringLiteral("ARTDES"))->asString().left(8);
    }
    t.partial = bench::timeSeconds([&] {
                    for (const QString &prefix : std::as_const(prefixes))
                        stock.locate(QStringLiteral("ARTDES"), prefix, vx::LocateOption::PartialKey);
                })
                / locates;
    stock.close();

    t.history = bench::timeSeconds([&] {
                    for (int i = 0; i < histories; ++i) {
                        movim.setFilter(QStringLiteral("MOVCMCT = '%1'").arg(bench::syntheticOwnCode(article(rng))));
                        movim.setFiltered(true);
                        movim.open();
                        for (movim.first(); !movim.eof(); movim.next())
                            movim.fieldByName(QStringLiteral("MOVCAN1"))->asFloat();
                        movim.close();
                    }
                })
                / histories;
    movim.setFiltered(false);
    movim.open();
    t.walk = bench::timeSeconds([&] {
        qint64 rows = 0;
        for (movim.first(); !movim.eof() && rows < walkedRows; movim.next(), ++rows) {
            movim.fieldByName(QStringLiteral("MOVCMCT"))->asString();
            movim.fieldByName(QStringLiteral("MOVFEC"))->asDateTime();
            movim.fieldByName(QStringLiteral("MOVCAN1"))->asFloat();
        }
    });
    movim.close();
    return t;
}

void runPostgres(bench::Context &context)
{
    bench::ShopSize size;
    size.articles = context.option(QStringLiteral("pg-articles"), 20000);
    size.movements = context.option(QStringLiteral("pg-movements"), 100000);

    const QString sqlitePath = QDir(context.workDir).filePath(QStringLiteral("pg-compare.sqlite"));
    bench::ShopCounts counts;
    auto sqlite = bench::createSyntheticShop(sqlitePath, size, &counts);

    bench::PostgresCluster cluster(QDir(context.workDir).filePath(QStringLiteral("pg-cluster")));
    auto postgres = bench::PostgresCluster::create(QStringLiteral("vxbench"));
    const double filling = bench::timeSeconds([&] {
        postgres->createSchema();
        bench::fillSyntheticShop(*postgres, size);
    });
    bench::note(QStringLiteral("same shop on both engines"),
                QStringLiteral("%1 articles, %2 MOVIM rows; written to PostgreSQL in %3 s")
                    .arg(counts.articles)
                    .arg(counts.movements)
                    .arg(filling, 0, 'f', 1));

    const Timings lite = measure(*sqlite, counts, size.seed);
    const Timings pg = measure(*postgres, counts, size.seed);
    const QString onSqlite = QStringLiteral("on SQLite");
    bench::report(QStringLiteral("open Stock by ARTCMCT, last()"), pg.openLast, onSqlite, lite.openLast);
    bench::report(QStringLiteral("locate ARTCMCT, mean of %1").arg(locates), pg.locate, onSqlite, lite.locate);
    bench::report(QStringLiteral("locate partial ARTDES, mean of %1").arg(locates), pg.partial, onSqlite, lite.partial);
    bench::report(QStringLiteral("Movim filtered, open+walk, mean of %1").arg(histories), pg.history, onSqlite,
                  lite.history);
    bench::report(QStringLiteral("walk %1 Movim rows, 3 fields").arg(walkedRows), pg.walk, onSqlite, lite.walk);
}

const bench::Registrar registrar("postgres", runPostgres);

}  // namespace
