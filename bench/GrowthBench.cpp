// How the counter's waits grow with the catalogue: the same shop at 20 000 and 200 000 articles
// (and a million with --million=1, or one size with --articles=N), and per size what the operator
// waits for: the sales window opening (its article lists reloaded), a scanned code turned into a
// line on the screen, a key typed in the article search (mean, 90th and 99th percentile, and the
// processor time it took, which other work on the machine does not lengthen), and a five-line
// sale recorded beside its floor (the same writes in plain SQL, alternated with it); with the
// resident memory of a fresh process that opens the shop and the sales window, as the program does.
// One table, so that growth shows at a glance.
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/SaleFloor.h"
#include "bench/SyntheticShop.h"
#include "catalogue/ConsArt.h"
#include "catalogue/MODArt.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "sales/ReceiptNumbers.h"
#include "sales/SaleRecording.h"
#include "sales/Ventas.h"
#include "app/uGlobales.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QTextStream>
#include <QWindow>

#include <algorithm>
#include <ctime>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

struct Row {
    qint64 articles = 0;
    double opening = 0;
    double scan = 0;
    double keyMean = 0;
    double key90 = 0;
    double key99 = 0;
    double cpuMean = 0;
    double cpu99 = 0;
    double recording = 0;
    double recordingFloor = 0;
    double residentMb = 0;
    double peakMb = 0;
};

double mean(const std::vector<double> &samples)
{
    double total = 0;
    for (const double s : samples)
        total += s;
    return total / double(samples.size());
}

// A line of /proc/self/status ("VmRSS", "VmHWM") in megabytes.
double statusMegabytes(const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').constFirst().toDouble() / 1024.0;
    return 0;
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void sendKey(QWidget *box, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &release);
}

void measureSalesWindow(Row &row, int repetitions)
{
    vx::ui::FakeDialogs dialogs;
    TFVentas window;
    const auto close = [&window] {
        window.hide();
        window.finishClosing();
        QCoreApplication::processEvents();
    };
    std::vector<double> openings;
    for (int i = 0; i < repetitions; ++i) {
        close();
        uGlobales::setArticleListChanged(uGlobales::ArticleList::Ventas, true);
        openings.push_back(bench::timeSeconds([&] {
            if (!window.prepareOpening())
                throw std::runtime_error("the sales window did not open");
            window.show();
            bench::waitExposed(window);
            window.repaint();
        }));
    }
    row.opening = bench::percentile(openings, 0.5);

    QApplication::setActiveWindow(&window);
    std::vector<double> scans;
    for (int i = 0; i < repetitions * 5; ++i) {
        if (i % 10 == 0)
            window.BCancelarClick();
        const QString code = bench::syntheticOwnCode(qint64(i) * 7919 % row.articles);
        const int before = window.DBGrid1->model()->rowCount();
        scans.push_back(bench::timeSeconds([&] {
            for (const QChar digit : code)
                sendKey(window.CBCod, Qt::Key_0 + digit.digitValue(), QString(digit));
            QCoreApplication::processEvents();
            window.DBGrid1->viewport()->repaint();
        }));
        if (window.DBGrid1->model()->rowCount() != before + 1)
            throw std::runtime_error("a scan did not add its line");
    }
    row.scan = bench::percentile(scans, 0.5);
    if (!dialogs.shown.isEmpty())
        throw std::runtime_error(qPrintable(QStringLiteral("the sales window said: ") + dialogs.shown.first().text));
    window.BCancelarClick();
    close();
}

void measureArticleSearch(Row &row, vx::Connection &connection, std::uint32_t seed)
{
    TFModArt change;
    TFBuscando window;
    DM1->Stock->open();
    window.show();
    bench::waitExposed(window);
    QApplication::setActiveWindow(&window);
    window.CB1->setCurrentText(TFBuscando::byDescription());
    window.CB1Exit();
    window.DBGrid1->viewport()->repaint();

    std::mt19937 rng(seed);
    std::uniform_int_distribution<qint64> pick(1, row.articles);
    std::vector<double> keys;
    std::vector<double> processor;
    while (keys.size() < 240) {
        const QString description =
            connection.scalar(QStringLiteral("SELECT ARTDES FROM STOCK WHERE ARTUNO = ?"), {pick(rng)}).toString();
        if (description.size() < 6)
            continue;
        window.EdBusca->clear();
        for (const QChar letter : description.left(6)) {
            const int key = letter.toUpper().unicode();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(letter));
            QApplication::sendEvent(window.EdBusca, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(letter));
            const double cpu = threadSeconds();
            keys.push_back(bench::timeSeconds([&] {
                QApplication::sendEvent(window.EdBusca, &release);
                QCoreApplication::processEvents();
                window.DBGrid1->viewport()->repaint();
            }));
            processor.push_back(threadSeconds() - cpu);
        }
    }
    row.keyMean = mean(keys);
    row.key90 = bench::percentile(keys, 0.9);
    row.key99 = bench::percentile(keys, 0.99);
    row.cpuMean = mean(processor);
    row.cpu99 = bench::percentile(processor, 0.99);
    window.hide();
    DM1->Stock->setFiltered(false);
    DM1->Stock->close();
}

void measureRecording(Row &row, vx::Connection &connection, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<qint64> article(0, row.articles - 1);
    bench::SaleFloor floor(connection);
    int floorNumber = sales::highestReceiptNumber(connection) + 1000000;
    std::vector<double> times;
    std::vector<double> floors;
    for (int s = 0; s < 60; ++s) {
        sales::SaleEntry entry;
        entry.dateText = vx::shopformat::formatDate(QDate::currentDate());
        entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
        for (int l = 0; l < 5; ++l)
            entry.lines << sales::SaleLine{bench::syntheticOwnCode(article(rng)), 1.0, 100.0};
        entry.cash = 500.0;
        entry.operatorCode = 1;
        entry.accessLevel = 9;
        const double t = bench::timeSeconds([&] { sales::recordSale(connection, entry); });
        const double f = bench::timeSeconds([&] { floor.record(entry, ++floorNumber); });
        if (s >= 5) {
            times.push_back(t);
            floors.push_back(f);
        }
    }
    row.recording = bench::percentile(times, 0.5);
    row.recordingFloor = bench::percentile(floors, 0.5);
}

// Run in a process of its own (the shop was built in the measuring one): opens the shop and the
// sales window as the counter does and prints the resident memory.
void printMemory(const QString &path)
{
    TDM1 data(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    vx::ui::FakeDialogs dialogs;
    TFVentas window;
    uGlobales::setArticleListChanged(uGlobales::ArticleList::Ventas, true);
    if (!window.prepareOpening())
        throw std::runtime_error("the sales window did not open");
    window.show();
    bench::waitExposed(window);
    window.repaint();
    QTextStream(stdout) << "memory " << statusMegabytes("VmRSS") << ' ' << statusMegabytes("VmHWM") << Qt::endl;
    window.hide();
    window.finishClosing();
}

void measureMemory(Row &row, const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("growth"), QStringLiteral("--memory-of=") + path});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        throw std::runtime_error("the memory measure did not run: " + child.readAllStandardError().toStdString());
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("memory "))
            continue;
        const QList<QByteArray> figures = line.split(' ');
        row.residentMb = figures.value(1).toDouble();
        row.peakMb = figures.value(2).toDouble();
    }
}

void runGrowth(bench::Context &context)
{
    for (const QString &arg : std::as_const(context.args)) {
        if (arg.startsWith(QLatin1String("--memory-of="))) {
            printMemory(arg.section(QLatin1Char('='), 1));
            return;
        }
    }
    std::vector<qint64> sizes{20000, 200000};
    if (context.option(QStringLiteral("million"), 0) != 0)
        sizes.push_back(1000000);
    if (const qint64 only = context.option(QStringLiteral("articles"), 0); only > 0)
        sizes = {only};
    const int repetitions = int(context.option(QStringLiteral("repetitions"), 20));
    const std::uint32_t seed = std::uint32_t(context.option(QStringLiteral("seed"), 20250101));
    uGlobales::session().operatorCode = 1;
    uGlobales::session().accessLevel = 9;

    std::vector<Row> rows;
    for (const qint64 articles : sizes) {
        bench::ShopSize size;
        size.articles = articles;
        size.movements = context.option(QStringLiteral("movements"), 20000);
        size.seed = seed;
        const QString path = QDir(context.workDir).filePath(QStringLiteral("growth-%1.db").arg(articles));
        Row row;
        {
            auto connection = bench::createSyntheticShop(path, size);
            TDM1 data(std::move(connection));
            row.articles = articles;
            measureSalesWindow(row, repetitions);
            measureArticleSearch(row, *data.ADOConnection1, seed);
            measureRecording(row, *data.ADOConnection1, seed);
        }
        measureMemory(row, path);
        QFile::remove(path);
        rows.push_back(row);
        bench::note(QStringLiteral("%1 articles measured").arg(articles), QString());
    }

    QTextStream out(stdout);
    const QStringList titles{QStringLiteral("articles"), QStringLiteral("open ms"), QStringLiteral("scan ms"),
                             QStringLiteral("key mean"), QStringLiteral("key p90"), QStringLiteral("key p99"),
                             QStringLiteral("cpu mean"), QStringLiteral("cpu p99"), QStringLiteral("sale ms"),
                             QStringLiteral("floor ms"), QStringLiteral("RSS MB"), QStringLiteral("peak MB")};
    for (const QString &title : titles)
        out << QStringLiteral(" %1").arg(title, 9);
    out << Qt::endl;
    for (const Row &r : rows) {
        out << QStringLiteral(" %1").arg(r.articles, 9);
        for (const double ms : {r.opening, r.scan, r.keyMean, r.key90, r.key99, r.cpuMean, r.cpu99, r.recording,
                                r.recordingFloor})
            out << QStringLiteral(" %1").arg(ms * 1000, 9, 'f', 2);
        out << QStringLiteral(" %1 %2").arg(r.residentMb, 9, 'f', 1).arg(r.peakMb, 9, 'f', 1) << Qt::endl;
    }
    out << QStringLiteral("  (medians but the keys; cpu: the keys' processor time; floor: the sale's writes in plain SQL, "
                          "alternated with it; RSS and peak: a fresh process with the shop and the sales window open)")
        << Qt::endl;
}

const bench::Registrar registrar("growth", runGrowth);

}  // namespace
