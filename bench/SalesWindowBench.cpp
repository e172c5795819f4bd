// The sales window on a big shop: opening it (customers, the proposed receipt number, the work
// table, and the first page of the three article pick lists when they must be read again) and a scanned code turned
// into a line on the screen, each the median of many repetitions, beside plain SQL doing the same
// reads and writes through the same driver.
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/SyntheticShop.h"
#include "data/DataModule.h"
#include "platform/db/Connection.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "sales/Ventas.h"
#include "app/uGlobales.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QKeyEvent>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

// Runs `work` the given number of times, `between` untimed before each run; the median in seconds.
double medianOf(int repetitions, const std::function<void()> &between, const std::function<void()> &work)
{
    std::vector<double> samples;
    samples.reserve(size_t(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        if (between)
            between();
        samples.push_back(bench::timeSeconds(work));
    }
    return bench::median(samples);
}

// Types the digits as a scanner does: one key press and release each.
void typeDigits(QWidget *box, const QString &digits)
{
    for (const QChar digit : digits) {
        const int key = Qt::Key_0 + digit.digitValue();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(digit));
        QCoreApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(digit));
        QCoreApplication::sendEvent(box, &release);
    }
}

// What the opening reads, in plain SQL: customer names, the last receipt number, and the three
// article columns for the lists.
void plainOpening(vx::Connection &connection, bool withLists)
{
    QSqlQuery customers = connection.execute(QStringLiteral("SELECT CLIAPE FROM CLIENTE ORDER BY CLIAPE"));
    QStringList names;
    while (customers.next())
        names << customers.value(0).toString();
    connection.scalar(QStringLiteral("SELECT MAX(COMNRO) FROM CLICOM WHERE COMTIP = '1A' OR COMTIP = '1B' OR COMTIP = '1C'"));
    if (!withLists)
        return;
    for (const char *column : {"ARTCMCT", "ARTDES", "ARTCOD"}) {
        QSqlQuery articles =
            connection.execute(QStringLiteral("SELECT %1 FROM STOCK ORDER BY %1").arg(QLatin1String(column)));
        QStringList texts;
        while (articles.next())
            texts << articles.value(0).toString();
    }
}

// What a scan does, in plain SQL: find the article by its own code and write the line.
void plainScan(vx::Connection &connection, const QString &code)
{
    QSqlQuery &article = connection.executeCached(
        QStringLiteral("SELECT ARTDES, ARTVEN1, ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {code});
    if (!article.next())
        throw std::runtime_error("article not found");
    const QString description = article.value(0).toString();
    const double price = article.value(1).toDouble();
    article.finish();
    connection.execute(QStringLiteral("INSERT INTO TMP1 (TM1CHR1, TM1CHR10, TM1NUM1, TM1PRE1, TM1PRE2, TM1NUM2) "
                                      "VALUES (?, ?, 1, ?, ?, 1)"),
                       {code, description, price, price});
}

void runSalesWindow(bench::Context &context)
{
    bench::ShopSize size = bench::shopSizeFromOptions(context);
    // The window reads articles, customers and receipts; the movement history does not matter here.
    size.movements = context.option(QStringLiteral("movements"), 20000);
    const int repetitions = int(context.option(QStringLiteral("repetitions"), 200));
    bench::ShopCounts counts;
    auto connection = bench::createSyntheticShop(QDir(context.workDir).filePath(QStringLiteral("ventas.db")), size,
                                                 &counts);
    bench::note(QStringLiteral("articles / customers / receipts"),
                QStringLiteral("%1 / %2 / %3").arg(counts.articles).arg(counts.customers).arg(counts.sales));
    TDM1 data(std::move(connection));
    vx::Connection &db = *data.ADOConnection1;
    vx::ui::FakeDialogs dialogs;

    TFVentas window;
    const auto closeWindow = [&window] {
        window.hide();
        window.finishClosing();
        QCoreApplication::processEvents();
    };
    const auto openWindow = [&window] {
        if (!window.prepareOpening())
            throw std::runtime_error("the sales window did not open");
        window.show();
        bench::waitExposed(window);
        window.repaint();
    };

    const double reloading = medianOf(
        repetitions,
        [&] {
            closeWindow();
            uGlobales::setArticleListChanged(uGlobales::ArticleList::Ventas, true);
        },
        openWindow);
    if (window.CBCod->items().isEmpty())
        throw std::runtime_error("the code list is empty");
    const double plainReload = medianOf(std::min(repetitions, 20), {}, [&] { plainOpening(db, true); });
    bench::report(QStringLiteral("open, lists reloaded (median)"), reloading, QStringLiteral("plain SQL"), plainReload);

    const double keeping = medianOf(repetitions, closeWindow, openWindow);
    const double plainKeep = medianOf(repetitions, {}, [&] { plainOpening(db, false); });
    bench::report(QStringLiteral("open, lists kept (median)"), keeping, QStringLiteral("plain SQL"), plainKeep);

    // Scans spread over the shop; a sale is started over every ten lines, untimed.
    std::vector<QString> codes;
    for (int i = 0; i < repetitions; ++i)
        codes.push_back(bench::syntheticOwnCode(qint64(i) * (counts.articles / repetitions)));
    QApplication::setActiveWindow(&window);
    int scanned = 0;
    const double scanning = medianOf(
        repetitions,
        [&] {
            if (scanned % 10 == 0)
                window.BCancelarClick();
        },
        [&] {
            const int before = window.DBGrid1->model()->rowCount();
            typeDigits(window.CBCod, codes[size_t(scanned)]);
            QCoreApplication::processEvents();
            window.DBGrid1->viewport()->repaint();
            if (window.DBGrid1->model()->rowCount() != before + 1)
                throw std::runtime_error("a scan did not add its line");
            ++scanned;
        });
    window.BCancelarClick();
    int plainScanned = 0;
    const double plainScanning = medianOf(
        repetitions,
        [&] {
            if (plainScanned % 10 == 0)
                db.execute(QStringLiteral("DELETE FROM TMP1"));
        },
        [&] { plainScan(db, codes[size_t(plainScanned++)]); });
    bench::report(QStringLiteral("scan to line shown (median)"), scanning, QStringLiteral("plain SQL"), plainScanning);
    if (!dialogs.shown.isEmpty())
        throw std::runtime_error(qPrintable(QStringLiteral("the window said: ") + dialogs.shown.first().text));
    closeWindow();
}

const bench::Registrar registrar("saleswindow", runSalesWindow);

}  // namespace
