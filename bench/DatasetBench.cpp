// The dataset layer on a big shop: what a window waits for when it opens, searches and walks the
// shared tables, each timed beside the same rows read with plain SQL through the same Qt driver on
// the same connection.
#include "bench/Bench.h"
#include "bench/SyntheticShop.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "platform/db/DbError.h"
#include "platform/db/Table.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>

#include <malloc.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr int exactLocates = 2000;
constexpr int partialLocates = 500;
constexpr int articleHistories = 300;
constexpr qint64 walkedRows = 100000;
constexpr int repeats = 3;

// Both sides of a comparison run a few times and keep their best time: both then read from warm
// caches, and a moment when another process had the processor decides nothing.
QSqlQuery prepared(vx::Connection &connection, const QString &sql)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw vx::DbError(vx::Connection::errorText(query.lastError()));
    return query;
}

void run(QSqlQuery &query)
{
    if (!query.exec())
        throw vx::DbError(vx::Connection::errorText(query.lastError()));
}

// Folds what a side read into one number, so that the reads cannot be skipped and the two sides
// can be seen to have read the same rows.
struct Digest {
    quint64 hash = 0;
    qint64 values = 0; // how many values were folded in
    void add(const QString &text)
    {
        hash = hash * 31 + qHash(text);
        ++values;
    }
    void add(double number)
    {
        hash = hash * 31 + qHash(number);
        ++values;
    }
    void add(const QDateTime &moment)
    {
        hash = hash * 31 + quint64(moment.toSecsSinceEpoch());
        ++values;
    }
    bool operator==(const Digest &other) const { return hash == other.hash && values == other.values; }
};

void checkSame(const QString &what, const Digest &layer, const Digest &floor)
{
    if (!(layer == floor))
        bench::note(
            what,
            QStringLiteral("DIFFERENT ROWS: cursor read %1 values, plain SQL %2").arg(layer.values).arg(floor.values));
}

// Where a column comes in "SELECT *": the table's stored order, as the schema gives it.
int columnAt(const char *table, const char *column)
{
    const vx::TableDef *def = data::vendrixSchema().table(QString::fromLatin1(table));
    for (int i = 0; i < def->columns.size(); ++i) {
        if (def->columns[i].name == QLatin1String(column))
            return i;
    }
    throw vx::DbError(QStringLiteral("%1 no tiene la columna %2").arg(QLatin1String(table), QLatin1String(column)));
}

QString megabytes(qint64 kilobytes)
{
    return QString::number(double(kilobytes) / 1024.0, 'f', 1);
}

// A line of /proc/self/status ("VmHWM:   123456 kB"), in kB; -1 when absent.
qint64 statusKilobytes(const QByteArray &key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Sets the peak resident size back to the current one, so that the next peak belongs to what runs
// next and not to building the shop.
bool resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// Opening all of MOVIM must not hold its rows: on a connection of its own, with the heap trimmed
// and the peak reset after the shop was built, the peak growth is the open's alone.
void measureOpenMemory(const QString &path)
{
    std::unique_ptr<vx::Connection> connection = vx::Connection::openSqlite(path, &data::vendrixSchema(), false);
    vx::Table movim(connection.get(), QStringLiteral("MOVIM"));
    malloc_trim(0);
    const bool peakReset = resetPeakMemory();
    const qint64 before = statusKilobytes("VmRSS");
    QString lastCode;
    const double seconds = bench::timeSeconds([&] {
        movim.open();
        movim.last();
        lastCode = movim.fieldByName(QStringLiteral("MOVCMCT"))->asString();
    });
    const qint64 peak = statusKilobytes(peakReset ? "VmHWM" : "VmRSS");
    const qint64 after = statusKilobytes("VmRSS");
    bench::note(QStringLiteral("open MOVIM (%1 rows) and go last").arg(movim.recordCount()),
                lastCode.isEmpty() ? QStringLiteral("NO LAST ROW READ")
                                   : QStringLiteral("%1 ms").arg(seconds * 1000.0, 0, 'f', 1));
    bench::note(QStringLiteral("  peak memory growth of that open"),
                QStringLiteral("%1 MB (%2; resident %3 MB before, %4 MB after)")
                    .arg(megabytes(peak - before), peakReset ? QStringLiteral("VmHWM") : QStringLiteral("VmRSS only"),
                         megabytes(before), megabytes(after)));
}

// Opening Stock in own-code order and going to the last article. The floor reads the same rows in
// the same order through one forward-only statement and steps to the last one. A second line sets
// the open beside the least plain SQL can do to show only that last article.
void benchOpenStockLast(vx::Connection &connection, vx::Table &stock)
{
    Digest layer;
    const double cursor = bench::bestOf(repeats, [&] {
        stock.close();
        stock.setIndexFieldNames(QStringLiteral("ARTCMCT"));
        stock.open();
        stock.last();
        layer = {};
        layer.add(stock.fieldByName(QStringLiteral("ARTCMCT"))->asString());
    });
    const int code = columnAt("STOCK", "ARTCMCT");
    Digest plain;
    const double floor = bench::bestOf(repeats, [&] {
        QSqlQuery query = prepared(connection, QStringLiteral("SELECT * FROM STOCK ORDER BY ARTCMCT"));
        run(query);
        QString last;
        while (query.next())
            last = query.value(code).toString();
        plain = {};
        plain.add(last);
    });
    checkSame(QStringLiteral("open Stock by ARTCMCT, last"), layer, plain);
    bench::report(QStringLiteral("open Stock by ARTCMCT, last()"), cursor, QStringLiteral("SELECT * ORDER BY, step"),
                  floor);
    const double shortest = bench::bestOf(repeats, [&] {
        QSqlQuery query = prepared(connection, QStringLiteral("SELECT * FROM STOCK ORDER BY ARTCMCT DESC LIMIT 1"));
        run(query);
        query.next();
    });
    bench::report(QStringLiteral("  same, against the last row alone"), cursor, QStringLiteral("ORDER BY DESC LIMIT 1"),
                  shortest);
}

std::vector<QString> randomOwnCodes(std::mt19937 &rng, qint64 articles, int count)
{
    std::vector<QString> codes;
    for (int i = 0; i < count; ++i)
        codes.push_back(bench::syntheticOwnCode(qint64(rng() % quint64(articles))));
    return codes;
}

// Keys for a run of searches: some to warm the caches, others to time.
struct SearchKeys {
    std::vector<QString> warmUp;
    std::vector<QString> timed;
};

using Search = std::function<Digest(const std::vector<QString> &keys)>;

// The cursor keeps the rows it has read, so searching the same keys again would time that cache
// rather than the search: each side makes one pass over the warm-up keys, then one timed pass over
// the other keys.
void compareSearches(const QString &what, const QString &floorName, const SearchKeys &keys, const Search &cursor,
                     const Search &plain)
{
    cursor(keys.warmUp);
    plain(keys.warmUp);
    Digest layer;
    Digest floor;
    const double cursorSeconds = bench::timeSeconds([&] { layer = cursor(keys.timed); });
    const double floorSeconds = bench::timeSeconds([&] { floor = plain(keys.timed); });
    checkSame(what, layer, floor);
    const double n = double(keys.timed.size());
    bench::report(QStringLiteral("%1, mean of %2").arg(what).arg(keys.timed.size()), cursorSeconds / n, floorName,
                  floorSeconds / n);
    bench::note(QStringLiteral("  found"), QStringLiteral("%1 of %2").arg(layer.values).arg(keys.timed.size()));
}

// Stock open in own-code order, as every article lookup uses it. The floor runs one statement
// prepared once, as a loop of plain-SQL lookups would.
void benchLocateCode(vx::Connection &connection, vx::Table &stock, const SearchKeys &codes)
{
    const Search cursor = [&](const std::vector<QString> &keys) {
        Digest digest;
        for (const QString &code : keys) {
            if (stock.locate(QStringLiteral("ARTCMCT"), code))
                digest.add(stock.fieldByName(QStringLiteral("ARTDES"))->asString());
        }
        return digest;
    };
    QSqlQuery query = prepared(connection, QStringLiteral("SELECT * FROM STOCK WHERE ARTCMCT = ?"));
    const int description = columnAt("STOCK", "ARTDES");
    const Search plain = [&](const std::vector<QString> &keys) {
        Digest digest;
        for (const QString &code : keys) {
            query.bindValue(0, code);
            run(query);
            if (query.next())
                digest.add(query.value(description).toString());
        }
        return digest;
    };
    compareSearches(QStringLiteral("locate ARTCMCT"), QStringLiteral("prepared WHERE ARTCMCT=?"), codes, cursor, plain);
}

// The starts of real descriptions, from a few letters to whole descriptions.
std::vector<QString> descriptionPrefixes(vx::Connection &connection, std::mt19937 &rng, qint64 articles, int count)
{
    QSqlQuery query = prepared(connection, QStringLiteral("SELECT ARTDES FROM STOCK WHERE ARTUNO = ?"));
    std::vector<QString> prefixes;
    while (int(prefixes.size()) < count) {
        query.bindValue(0, qint64(rng() % quint64(articles)) + 1);
        run(query);
        if (!query.next())
            continue;
        const QString text = query.value(0).toString();
        const int length = 3 + int(rng() % quint32(std::max<qsizetype>(text.size() - 2, 1)));
        prefixes.push_back(text.left(length));
    }
    return prefixes;
}

// Stock sorted by description, searched by the start of one. The floor is the same search as a
// range on the description's index, first row in description order.
void benchLocatePartial(vx::Connection &connection, vx::Table &stock, const SearchKeys &prefixes)
{
    const double sorting = bench::timeSeconds([&] { stock.setIndexFieldNames(QStringLiteral("ARTDES")); });
    bench::note(QStringLiteral("sort open Stock by ARTDES"), QStringLiteral("%1 ms").arg(sorting * 1000.0, 0, 'f', 1));
    const Search cursor = [&](const std::vector<QString> &keys) {
        Digest digest;
        for (const QString &prefix : keys) {
            if (stock.locate(QStringLiteral("ARTDES"), prefix, vx::LocateOptions(vx::LocateOption::PartialKey)))
                digest.add(stock.fieldByName(QStringLiteral("ARTCMCT"))->asString());
        }
        return digest;
    };
    QSqlQuery query = prepared(connection, QStringLiteral("SELECT * FROM STOCK WHERE ARTDES >= ? AND ARTDES < ? "
                                                          "ORDER BY ARTDES, ARTUNO LIMIT 1"));
    const QString highest = QString::fromUcs4(U"\U0010FFFF");
    const int code = columnAt("STOCK", "ARTCMCT");
    const Search plain = [&](const std::vector<QString> &keys) {
        Digest digest;
        for (const QString &prefix : keys) {
            query.bindValue(0, prefix);
            query.bindValue(1, prefix + highest);
            run(query);
            if (query.next())
                digest.add(query.value(code).toString());
        }
        return digest;
    };
    compareSearches(QStringLiteral("locate partial ARTDES"), QStringLiteral("prepared prefix range"), prefixes, cursor,
                    plain);
}

// The stored date text decoded straight into the naive value the cursor's fields hold, as a
// plain-SQL reader of this database would decode it.
QDateTime storedDate(const QString &text)
{
    return QDateTime(QDate::fromString(QStringView(text).left(10), Qt::ISODate),
                     QTime::fromString(QStringView(text).mid(11), Qt::ISODate), QTimeZone::utc());
}

void readMovement(Digest &digest, const QString &code, const QDateTime &date, double quantity)
{
    digest.add(code);
    digest.add(date);
    digest.add(quantity);
}

// One article's movement history: Movim filtered on its own code, opened and walked. Each open
// is a statement of its own on both sides, as a window opening one history is.
void benchFilteredMovim(vx::Connection &connection, vx::Table &movim, const std::vector<QString> &codes)
{
    Digest layer;
    const double cursor = bench::bestOf(repeats, [&] {
        layer = {};
        for (const QString &code : codes) {
            movim.close();
            movim.setFilter(QStringLiteral("MOVCMCT = '%1'").arg(code));
            movim.setFiltered(true);
            movim.open();
            for (; !movim.eof(); movim.next())
                readMovement(layer, movim.fieldByName(QStringLiteral("MOVCMCT"))->asString(),
                             movim.fieldByName(QStringLiteral("MOVFEC"))->asDateTime(),
                             movim.fieldByName(QStringLiteral("MOVCAN1"))->asFloat());
        }
        movim.close();
    });
    const int codeAt = columnAt("MOVIM", "MOVCMCT");
    const int dateAt = columnAt("MOVIM", "MOVFEC");
    const int quantityAt = columnAt("MOVIM", "MOVCAN1");
    Digest plain;
    const double floor = bench::bestOf(repeats, [&] {
        plain = {};
        for (const QString &code : codes) {
            QSqlQuery query =
                prepared(connection, QStringLiteral("SELECT * FROM MOVIM WHERE MOVCMCT = ? ORDER BY MOVUNO"));
            query.bindValue(0, code);
            run(query);
            while (query.next())
                readMovement(plain, query.value(codeAt).toString(), storedDate(query.value(dateAt).toString()),
                             query.value(quantityAt).toDouble());
        }
    });
    checkSame(QStringLiteral("Movim filtered on one article"), layer, plain);
    const double n = double(codes.size());
    bench::report(QStringLiteral("Movim filtered, open+walk, mean of %1").arg(codes.size()), cursor / n,
                  QStringLiteral("WHERE MOVCMCT=?, read"), floor / n);
    bench::note(QStringLiteral("  movements per history"), QString::number(double(layer.values) / 3.0 / n, 'f', 1));
}

// All of Movim open, then rows walked with next() reading three fields. The open is timed apart;
// the floor reads the same three fields of the same rows with one forward-only statement.
void benchWalk(vx::Connection &connection, vx::Table &movim, qint64 rows)
{
    movim.close();
    movim.setFiltered(false);
    movim.setFilter(QString());
    const double opening = bench::bestOf(repeats, [&] {
        movim.close();
        movim.open();
    });
    const double firstRow = bench::bestOf(repeats, [&] {
        QSqlQuery query = prepared(connection, QStringLiteral("SELECT * FROM MOVIM ORDER BY MOVUNO"));
        run(query);
        query.next();
    });
    bench::report(QStringLiteral("open Movim (%1 rows)").arg(movim.recordCount()), opening,
                  QStringLiteral("SELECT *, first row"), firstRow);
    // The open reads the key of every member row; the same keys read with plain SQL show how much of
    // the wait is that design and how much is the layer.
    const double keysOnly = bench::bestOf(repeats, [&] {
        QSqlQuery query = prepared(connection, QStringLiteral("SELECT MOVUNO FROM MOVIM ORDER BY MOVUNO"));
        run(query);
        std::vector<qint64> keys;
        while (query.next())
            keys.push_back(query.value(0).toLongLong());
    });
    bench::report(QStringLiteral("  same, against its keys in plain SQL"), opening,
                  QStringLiteral("SELECT MOVUNO ORDER BY"), keysOnly);
    Digest layer;
    const double cursor = bench::bestOf(repeats, [&] {
        layer = {};
        movim.first();
        for (qint64 i = 0; i < rows && !movim.eof(); ++i, movim.next())
            readMovement(layer, movim.fieldByName(QStringLiteral("MOVCMCT"))->asString(),
                         movim.fieldByName(QStringLiteral("MOVFEC"))->asDateTime(),
                         movim.fieldByName(QStringLiteral("MOVCAN1"))->asFloat());
    });
    Digest plain;
    const double floor = bench::bestOf(repeats, [&] {
        plain = {};
        QSqlQuery query = prepared(connection, QStringLiteral("SELECT MOVCMCT, MOVFEC, MOVCAN1 FROM MOVIM "
                                                              "ORDER BY MOVUNO LIMIT ?"));
        query.bindValue(0, rows);
        run(query);
        while (query.next())
            readMovement(plain, query.value(0).toString(), storedDate(query.value(1).toString()),
                         query.value(2).toDouble());
    });
    movim.close();
    checkSame(QStringLiteral("walk Movim"), layer, plain);
    bench::report(QStringLiteral("walk %1 Movim rows, 3 fields").arg(layer.values / 3), cursor,
                  QStringLiteral("forward-only SELECT"), floor);
}

void noteShop(const bench::ShopCounts &counts, double seconds)
{
    bench::note(
        QStringLiteral("synthetic shop built"),
        QStringLiteral("%1 s: %2 articles, %3 customers, %4 MOVIM, %5 INGRESOS, %6 EGRESOS, %7 CLICOM, %8 ITECLI")
            .arg(seconds, 0, 'f', 1)
            .arg(counts.articles)
            .arg(counts.customers)
            .arg(counts.movements)
            .arg(counts.receiptLines)
            .arg(counts.issueLines)
            .arg(counts.sales)
            .arg(counts.saleLines));
}

void runDatasets(bench::Context &context)
{
    const bench::ShopSize size = bench::shopSizeFromOptions(context);
    const QString path = QDir(context.workDir).filePath(QStringLiteral("datasets-shop.sqlite"));
    bench::ShopCounts counts;
    const double building = bench::timeSeconds([&] { bench::createSyntheticShop(path, size, &counts); });
    noteShop(counts, building);
    if (counts.articles == 0 || counts.movements == 0)
        return;

    bench::note(QStringLiteral("targets"), QStringLiteral("ratios at most 3; a locate under 1 ms; opening MOVIM grows "
                                                          "the peak memory by under 64 MB"));
    measureOpenMemory(path);

    TDM1 module(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    vx::Connection &connection = *module.ADOConnection1;
    std::mt19937 rng(size.seed);
    benchOpenStockLast(connection, *module.Stock);
    benchLocateCode(
        connection, *module.Stock,
        {randomOwnCodes(rng, counts.articles, exactLocates), randomOwnCodes(rng, counts.articles, exactLocates)});
    benchLocatePartial(connection, *module.Stock,
                       {descriptionPrefixes(connection, rng, counts.articles, partialLocates),
                        descriptionPrefixes(connection, rng, counts.articles, partialLocates)});
    module.Stock->close();
    benchFilteredMovim(connection, *module.Movim, randomOwnCodes(rng, counts.articles, articleHistories));
    benchWalk(connection, *module.Movim, std::min(walkedRows, counts.movements));
}

const bench::Registrar registrar("datasets", runDatasets);

} // namespace
