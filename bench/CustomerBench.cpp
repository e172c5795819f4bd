// The customer windows on a big shop (30 000 customers beside the articles and movements): opening
// the customer query, a name typed key by key, the contains filter on a double click, and the
// checks a customer's and a brand's delete run first. Each beside the same rows read with plain
// SQL through the same driver.
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/SyntheticShop.h"
#include "catalogue/ABMEmpStore.h"
#include "customers/ConsCli.h"
#include "customers/CustomerStore.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Edit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSqlQuery>
#include <QWindow>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int prefixLength = 6;
constexpr int prefixCount = 20;
constexpr int repeats = 21;

double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// The first rows a grid shows, read with plain SQL.
double plainRows(vx::Connection &connection, const QString &sql, const QVariantList &params, int rows)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &p : params)
        query.addBindValue(p);
    query.exec();
    for (int i = 0; i < rows && query.next(); ++i)
        query.value(0);
    return seconds(timer);
}

const QString columns = QStringLiteral("cliape, clic_p, clicel, clicod, clicui, clidir, clifec, cliiva, cliloc, climail, "
                                       "clindoc, clipro, clisal, clitdoc, clitel, cliobs");

double typeKey(TFConsCli &window, QChar letter)
{
    const int key = letter.toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(letter));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(letter));
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(window.EdBus, &press);
    QApplication::sendEvent(window.EdBus, &release);
    QCoreApplication::processEvents();
    window.DBGrid1->viewport()->repaint();
    return seconds(timer);
}

QStringList namePrefixes(vx::Connection &connection, int customers, std::mt19937 &rng)
{
    QStringList out;
    std::uniform_int_distribution<int> pick(2, std::max(2, customers));
    while (out.size() < prefixCount) {
        const QString name = connection.scalar(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = ?"), {pick(rng)}).toString();
        if (name.size() >= prefixLength)
            out << name.left(prefixLength);
    }
    return out;
}

void timeQueryWindow(TDM1 &module, int customers, std::uint32_t seed)
{
    vx::Connection &connection = *module.ADOConnection1;
    TFConsCli window;
    QElapsedTimer timer;
    timer.start();
    window.openList();
    bench::showAndPaint(window);
    const double opening = seconds(timer);
    const double plainOpening =
        plainRows(connection, QStringLiteral("SELECT %1 FROM CLIENTE ORDER BY CLIAPE").arg(columns), {}, 30);
    bench::report(QStringLiteral("open the customer query and paint it"), opening,
                  QStringLiteral("plain SQL, first 30 rows"), plainOpening);
    bench::note(QStringLiteral("target"), QStringLiteral("under 300 ms"));

    std::mt19937 rng(seed);
    std::vector<double> keys;
    std::vector<double> plain;
    for (const QString &prefix : namePrefixes(connection, customers, rng)) {
        window.EdBus->clear();
        for (int i = 0; i < prefix.size(); ++i) {
            keys.push_back(typeKey(window, prefix[i]));
            plain.push_back(plainRows(connection,
                                      QStringLiteral("SELECT %1 FROM CLIENTE WHERE CLIAPE >= ? ORDER BY CLIAPE LIMIT 1").arg(columns),
                                      {prefix.left(i + 1)}, 1));
        }
        const QString found = window.list().fieldByName(QStringLiteral("CLIAPE"))->asString();
        if (!found.startsWith(prefix))
            bench::note(QStringLiteral("MISMATCH"), QStringLiteral("typed %1, grid on %2").arg(prefix, found));
    }
    bench::report(QStringLiteral("name prefix, median of %1 keys").arg(keys.size()), bench::median(keys),
                  QStringLiteral("indexed SELECT, median"), bench::median(plain));
    bench::note(QStringLiteral("slowest key"), QStringLiteral("%1 ms").arg(*std::max_element(keys.begin(), keys.end()) * 1000, 0, 'f', 2));
    bench::note(QStringLiteral("target"), QStringLiteral("under 20 ms per key"));

    window.EdBus->setText(QStringLiteral("RO"));
    timer.restart();
    window.EdBusDblClick();
    window.DBGrid1->viewport()->repaint();
    const double filtering = seconds(timer);
    const int shown = window.list().recordCount();
    const double plainFilter = plainRows(
        connection, QStringLiteral("SELECT %1 FROM CLIENTE WHERE CLIAPE LIKE ? ORDER BY CLIAPE").arg(columns),
        {QStringLiteral("%RO%")}, 30);
    bench::report(QStringLiteral("double click, contains RO (%1 customers)").arg(shown), filtering,
                  QStringLiteral("plain SQL LIKE, first 30 rows"), plainFilter);
    bench::note(QStringLiteral("target"), QStringLiteral("under 150 ms"));
    window.closeList();
}

void timeDeleteChecks(vx::Connection &connection, int customers)
{
    // Every synthetic customer has bought something: one more, just registered, has not.
    const int newcomer = customers::nextCustomerCode(connection);
    connection.execute(QStringLiteral("INSERT INTO CLIENTE (CLICOD, CLIAPE) VALUES (?, ?)"),
                       {newcomer, QStringLiteral("CLIENTE NUEVO SIN COMPRAS")});
    const struct {
        QString what;
        int code;
    } cases[] = {{QStringLiteral("customer with sales"), std::min(customers, 2)},
                 {QStringLiteral("customer without sales"), newcomer}};
    for (const auto &c : cases) {
        std::vector<double> checks;
        std::vector<double> floors;
        for (int i = 0; i < repeats; ++i) {
            QElapsedTimer timer;
            timer.start();
            customers::customerUse(connection, c.code);
            checks.push_back(seconds(timer));
            floors.push_back(plainRows(connection, QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = ?"), {c.code}, 1));
        }
        bench::report(QStringLiteral("delete checks, %1 (%2)").arg(c.what).arg(c.code), bench::median(checks),
                      QStringLiteral("one customer by code"), bench::median(floors));
    }
    const catalogue::CatalogueKind &brands = catalogue::brandKind();
    const int unused = catalogue::nextCode(connection, brands);
    for (const int brand : {1, unused}) {
        std::vector<double> checks;
        std::vector<double> floors;
        for (int i = 0; i < repeats; ++i) {
            QElapsedTimer timer;
            timer.start();
            catalogue::catalogueEntryUse(connection, brands, brand);
            checks.push_back(seconds(timer));
            floors.push_back(plainRows(connection, QStringLiteral("SELECT MARDES FROM MARCAS WHERE MARCOD = ?"), {double(brand)}, 1));
        }
        bench::report(QStringLiteral("delete checks, brand %1").arg(brand == unused ? QStringLiteral("unused") : QStringLiteral("1")),
                      bench::median(checks), QStringLiteral("one brand by code"), bench::median(floors));
    }
    bench::note(QStringLiteral("target"), QStringLiteral("under 20 ms each (median of %1)").arg(repeats));
}

void runCustomers(bench::Context &context)
{
    bench::ShopSize size = bench::shopSizeFromOptions(context);
    size.customers = context.option(QStringLiteral("customers"), 30000);
    const QString path = QDir(context.workDir).filePath(QStringLiteral("customers.sqlite"));
    bench::ShopCounts counts;
    const double building = bench::timeSeconds([&] { bench::createSyntheticShop(path, size, &counts); });
    bench::note(QStringLiteral("shop"), QStringLiteral("%1 articles, %2 customers, %3 movements, %4 sales, built in %5 s")
                                            .arg(counts.articles)
                                            .arg(counts.customers)
                                            .arg(counts.movements)
                                            .arg(counts.sales)
                                            .arg(building, 0, 'f', 1));
    TDM1 module(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    timeQueryWindow(module, int(counts.customers), size.seed);
    timeDeleteChecks(*module.ADOConnection1, int(counts.customers));
}

const bench::Registrar registrar("customers", runCustomers);

} // namespace
