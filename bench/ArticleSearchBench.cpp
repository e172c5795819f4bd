// The article search window on a big shop: the operator picks "Descripcion" and types a six-letter
// description prefix letter by letter; each key release moves the grid to the first article whose
// description begins with the text. Timed from the key release until the grid has painted,
// beside plain SQL finding the same first article.
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/SyntheticShop.h"
#include "catalogue/ConsArt.h"
#include "catalogue/MODArt.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlQuery>
#include <QWindow>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int prefixLength = 6;
constexpr int prefixCount = 20;

// Six-letter starts of descriptions of articles picked at random: garments with a few or many
// articles, as a shop's search finds them.
QStringList prefixes(vx::Connection &connection, qint64 articles, std::mt19937 &rng)
{
    QStringList out;
    std::uniform_int_distribution<qint64> pick(1, std::max<qint64>(1, articles));
    while (out.size() < prefixCount) {
        const QString description =
            connection.scalar(QStringLiteral("SELECT ARTDES FROM STOCK WHERE ARTUNO = ?"), {pick(rng)}).toString();
        if (description.size() >= prefixLength)
            out << description.left(prefixLength);
    }
    return out;
}

// One key typed into the search box: the press puts the letter in, the release searches.
double typeKey(TFBuscando &window, QChar letter)
{
    const int key = letter.toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(letter));
    QApplication::sendEvent(window.EdBusca, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(letter));
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(window.EdBusca, &release);
    QCoreApplication::processEvents();
    window.DBGrid1->viewport()->repaint();
    return double(timer.nsecsElapsed()) / 1e9;
}

double plainFirstMatch(vx::Connection &connection, const QString &text)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral("SELECT ARTUNO, ARTCMCT, ARTCOD, ARTDES, ARTREP, ARTEX1, ARTEX2, ARTCOS1, ARTVEN1, ARTVEN2, "
                                 "ARTVEN3, ARTVEN4, ARTFEC1, ARTFEC2 FROM STOCK WHERE ARTDES >= ? AND ARTDES < ? "
                                 "ORDER BY ARTDES LIMIT 1"));
    query.addBindValue(text);
    query.addBindValue(text + QString::fromUcs4(U"\U0010FFFF"));
    query.exec();
    query.next();
    return double(timer.nsecsElapsed()) / 1e9;
}

void runArticleSearch(bench::Context &context)
{
    bench::ShopSize size = bench::shopSizeFromOptions(context);
    // The search reads only the articles; movements would only lengthen the set-up.
    size.movements = context.option(QStringLiteral("movements"), 0);
    const QString path = QDir(context.workDir).filePath(QStringLiteral("articlesearch.sqlite"));
    bench::ShopCounts counts;
    const double building = bench::timeSeconds([&] { bench::createSyntheticShop(path, size, &counts); });
    bench::note(QStringLiteral("shop"), QStringLiteral("%1 articles, built in %2 s").arg(counts.articles).arg(building, 0, 'f', 1));
    if (counts.articles == 0)
        return;

    TDM1 module(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    TFModArt change;
    TFBuscando window;
    const double opening = bench::timeSeconds([&] {
        module.Stock->open();
        bench::showAndPaint(window, true);
    });
    bench::note(QStringLiteral("open Stock and show the search window"), QStringLiteral("%1 ms").arg(opening * 1000, 0, 'f', 1));
    const double mode = bench::timeSeconds([&] {
        window.CB1->setCurrentText(TFBuscando::byDescription());
        window.CB1Exit();
        window.DBGrid1->viewport()->repaint();
    });
    bench::note(QStringLiteral("choose \"Descripcion\" (sorts the articles)"), QStringLiteral("%1 ms").arg(mode * 1000, 0, 'f', 1));

    std::mt19937 rng(size.seed);
    std::vector<double> keys;
    double plain = 0;
    const qint64 readBefore = module.Stock->rowsFetched();
    for (const QString &prefix : prefixes(*module.ADOConnection1, counts.articles, rng)) {
        window.EdBusca->clear();
        for (int i = 0; i < prefix.size(); ++i) {
            keys.push_back(typeKey(window, prefix[i]));
            plain += plainFirstMatch(*module.ADOConnection1, prefix.left(i + 1));
        }
        const QString found = module.Stock->fieldByName(QStringLiteral("ARTDES"))->asString();
        if (!found.startsWith(prefix))
            bench::note(QStringLiteral("MISMATCH"), QStringLiteral("typed %1, grid on %2").arg(prefix, found));
    }
    const double firstKey = keys.front();
    double total = 0;
    for (double k : keys)
        total += k;
    const double mean = total / double(keys.size());
    std::sort(keys.begin(), keys.end());
    bench::report(QStringLiteral("key release, mean of %1 keys").arg(keys.size()), mean, QStringLiteral("plain SQL first match"),
                  plain / double(keys.size()));
    bench::note(QStringLiteral("key release, median / 90th / slowest"),
                QStringLiteral("%1 / %2 / %3 ms")
                    .arg(keys[keys.size() / 2] * 1000, 0, 'f', 2)
                    .arg(keys[keys.size() * 9 / 10] * 1000, 0, 'f', 2)
                    .arg(keys.back() * 1000, 0, 'f', 2));
    bench::note(QStringLiteral("rows read from the database per key"),
                QString::number(double(module.Stock->rowsFetched() - readBefore) / double(keys.size()), 'f', 1));
    bench::note(QStringLiteral("key release, first key typed"), QStringLiteral("%1 ms").arg(firstKey * 1000, 0, 'f', 2));
    bench::note(QStringLiteral("target"), QStringLiteral("under 20 ms per key"));
}

const bench::Registrar registrar("articlesearch", runArticleSearch);

}  // namespace
