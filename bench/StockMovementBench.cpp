// Stock movements on a big shop: opening the goods receipt window with its pick lists to fill,
// recording a 20-line receipt and a 20-line issue (each next to its floor: the same statements,
// prepared once, in one transaction through the same driver), and building a 6-line delivery note.
#include "app/uGlobales.h"
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/FloorStatements.h"
#include "bench/SyntheticShop.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "stock/GoodsIssue.h"
#include "stock/GoodsReceipt.h"
#include "stock/Ing.h"
#include "stock/Remi.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QSqlQuery>
#include <QWindow>

#include <algorithm>
#include <random>
#include <stdexcept>

namespace {

constexpr int linesPerDocument = 20;
constexpr int warmUp = 5;

struct Documents {
    QList<stock::ReceiptEntry> receipts;
    QList<stock::IssueEntry> issues;
};

Documents makeDocuments(qint64 articles, std::uint32_t seed, int count)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<qint64> article(0, articles - 1);
    std::uniform_int_distribution<int> quantity(1, 12);
    std::uniform_int_distribution<int> price(10, 200);
    const QString today = vx::shopformat::formatDate(QDate::currentDate());
    Documents out;
    for (int d = 0; d < count; ++d) {
        stock::ReceiptEntry receipt;
        stock::IssueEntry issue;
        receipt.dateText = issue.dateText = today;
        receipt.operatorCode = issue.operatorCode = 1;
        receipt.accessLevel = issue.accessLevel = 9;
        issue.purpose = QStringLiteral("BENCH");
        for (int l = 0; l < linesPerDocument; ++l) {
            const double cost = price(rng);
            receipt.lines.append({bench::syntheticOwnCode(article(rng)), {}, quantity(rng) / 2.0, cost, 1, cost});
            issue.lines.append({bench::syntheticOwnCode(article(rng)), {}, quantity(rng) / 4.0, 0.5, cost * 2,
                                cost * 2.1});
        }
        out.receipts << receipt;
        out.issues << issue;
    }
    return out;
}

// The recordings' statements and nothing else: the number read, then per line the document row,
// the stock increment and the journal row, prepared once, in one write transaction.
class Floor {
public:
    explicit Floor(vx::Connection &connection)
        : m_sql(connection), m_date(m_sql.today()), m_now(m_sql.now()),
          m_hour(vx::shopformat::formatTime(QTime::currentTime())),
          m_lastReceipt(m_sql.prepare("SELECT MAX(INGNRO) FROM INGRESOS")),
          m_lastIssue(m_sql.prepare("SELECT MAX(EGRNRO) FROM EGRESOS")),
          m_receiptRow(m_sql.prepare("INSERT INTO INGRESOS (INGNRO, INGNIV, INGFEC, INGHOR, INGCMCT, INGCAN1, "
                                     "INGCOS1, INGCAN2, INGCOS2, INGOPE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_issueRow(m_sql.prepare("INSERT INTO EGRESOS (EGRNRO, EGRNIV, EGROPE, EGRCLI, EGROBS, EGRFEC, EGRHOR, "
                                   "EGRCMCT, EGRCAN1, EGRCOS1, EGRCAN2, EGRCOS2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                   "?, ?)")),
          m_receive(m_sql.prepare("UPDATE STOCK SET ARTFEC1 = ?, ARTEX1 = COALESCE(ARTEX1, 0) + ?, ARTCOS1 = ?, "
                                  "ARTEX2 = COALESCE(ARTEX2, 0) + ?, ARTCOS2 = ? WHERE ARTUNO = (SELECT MIN(ARTUNO + "
                                  "0) FROM STOCK WHERE ARTCMCT = ?) RETURNING ARTUNO")),
          m_issue(m_sql.prepare("UPDATE STOCK SET ARTFEC2 = ?, ARTEX1 = COALESCE(ARTEX1, 0) - ?, ARTEX2 = "
                                "COALESCE(ARTEX2, 0) - ?, ARTVEN2 = ? WHERE ARTUNO = (SELECT MIN(ARTUNO + 0) FROM STOCK "
                                "WHERE ARTCMCT = ?) RETURNING ARTUNO")),
          m_movement(m_sql.prepare("INSERT INTO MOVIM (MOVFEC, MOVHOR, MOVCMCT, MOVCAN1, MOVNRO, MOVTIP, MOVOBS, "
                                   "MOVCAN2, MOVOPE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"))
    {
    }

    void receive(const stock::ReceiptEntry &entry)
    {
        m_sql.begin();
        const int number = Sql::nextNumber(m_lastReceipt);
        const QString remark = QStringLiteral("Por Ingreso Nro. %1").arg(number);
        for (const stock::ReceiptLine &line : entry.lines) {
            Sql::run(m_receiptRow, {number, entry.accessLevel, m_date, m_now, line.articleCode, line.quantity1,
                                    line.cost1, line.quantity2, line.cost2, entry.operatorCode});
            Sql::run(m_receive, {m_date, line.quantity1, line.cost1, line.quantity2, line.cost2, line.articleCode});
            Sql::run(m_movement, {m_date, m_hour, line.articleCode, line.quantity1, number, QStringLiteral("I"),
                                  remark, line.quantity2, entry.operatorCode});
        }
        m_sql.commit();
    }

    void issue(const stock::IssueEntry &entry)
    {
        m_sql.begin();
        const int number = Sql::nextNumber(m_lastIssue);
        const QString remark = QStringLiteral("Egreso Comprob.No.: %1").arg(number);
        for (const stock::IssueLine &line : entry.lines) {
            Sql::run(m_issueRow, {number, entry.accessLevel, entry.operatorCode, entry.receiverCode, entry.purpose,
                                  m_date, m_now, line.articleCode, line.quantity1, line.price1, line.quantity2,
                                  line.price2});
            Sql::run(m_issue, {m_date, line.quantity1, line.quantity2, line.price2, line.articleCode});
            Sql::run(m_movement, {m_date, m_hour, line.articleCode, line.quantity1, number, QStringLiteral("E"),
                                  remark, line.quantity2, entry.operatorCode});
        }
        m_sql.commit();
    }

private:
    using Sql = bench::FloorStatements;
    Sql m_sql;
    QVariant m_date;
    QVariant m_now;
    QString m_hour;
    QSqlQuery m_lastReceipt;
    QSqlQuery m_lastIssue;
    QSqlQuery m_receiptRow;
    QSqlQuery m_issueRow;
    QSqlQuery m_receive;
    QSqlQuery m_issue;
    QSqlQuery m_movement;
};

// What opening the receipt window reads, in plain SQL: a page of each article list and the last
// receipt number.
void plainOpening(vx::Connection &connection)
{
    for (const char *column : {"ARTCMCT", "ARTDES", "ARTCOD"}) {
        QSqlQuery page = connection.execute(
            QStringLiteral("SELECT DISTINCT %1 FROM STOCK ORDER BY %1 LIMIT 100").arg(QLatin1String(column)));
        while (page.next()) {
        }
    }
    connection.scalar(QStringLiteral("SELECT MAX(INGNRO) FROM INGRESOS"));
}

void runStockMovements(bench::Context &context)
{
    const bench::ShopSize size = bench::shopSizeFromOptions(context);
    const int repetitions = int(context.option(QStringLiteral("repetitions"), 200));
    bench::ShopCounts counts;
    std::unique_ptr<vx::Connection> connection;
    const double building = bench::timeSeconds([&] {
        connection = bench::createSyntheticShop(QDir(context.workDir).filePath(QStringLiteral("stock.db")), size, &counts);
    });
    bench::note(QStringLiteral("synthetic shop"), QStringLiteral("%1 articles, %2 MOVIM rows; built in %3 s")
                                                      .arg(counts.articles)
                                                      .arg(counts.movements)
                                                      .arg(building, 0, 'f', 1));
    TDM1 data(std::move(connection));
    vx::Connection &db = *data.ADOConnection1;
    vx::ui::FakeDialogs dialogs;

    // Opening the receipt window with its lists to fill, as after a login.
    {
        TFIng window;
        QList<double> opening;
        for (int i = 0; i < std::min(repetitions, 50); ++i) {
            uGlobales::setArticleListChanged(uGlobales::ArticleList::Ingresos, true);
            opening << bench::timeSeconds([&] {
                if (!window.prepareOpening())
                    throw std::runtime_error("the receipt window did not open");
                window.show();
                bench::waitExposed(window);
                window.repaint();
            });
            window.hide();
            window.finishClosing();
            QCoreApplication::processEvents();
        }
        if (window.CBCMCT->items().isEmpty())
            throw std::runtime_error("the code list is empty");
        QList<double> plain;
        for (int i = 0; i < 20; ++i)
            plain << bench::timeSeconds([&] { plainOpening(db); });
        bench::report(QStringLiteral("open TFIng, lists to fill (median)"), bench::median(opening),
                      QStringLiteral("plain SQL"), bench::median(plain));
        bench::note(QStringLiteral("  under 300 ms"), bench::median(opening) < 0.3 ? QStringLiteral("yes") : QStringLiteral("NO"));
    }

    // Recording, alternated with the floor so that both meet the same state of the shop.
    const Documents documents = makeDocuments(counts.articles, size.seed, repetitions + warmUp);
    Floor floor(db);
    QList<double> receipts;
    QList<double> receiptFloor;
    QList<double> issues;
    QList<double> issueFloor;
    for (int i = 0; i < repetitions + warmUp; ++i) {
        const double r = bench::timeSeconds([&] { stock::recordReceipt(db, documents.receipts[i]); });
        const double rf = bench::timeSeconds([&] { floor.receive(documents.receipts[i]); });
        const double s = bench::timeSeconds([&] { stock::recordIssue(db, documents.issues[i]); });
        const double sf = bench::timeSeconds([&] { floor.issue(documents.issues[i]); });
        if (i >= warmUp) {
            receipts << r;
            receiptFloor << rf;
            issues << s;
            issueFloor << sf;
        }
    }
    bench::report(QStringLiteral("record a %1-line receipt, median of %2").arg(linesPerDocument).arg(repetitions),
                  bench::median(receipts), QStringLiteral("same statements"), bench::median(receiptFloor));
    bench::report(QStringLiteral("record a %1-line issue, median of %2").arg(linesPerDocument).arg(repetitions),
                  bench::median(issues), QStringLiteral("same statements"), bench::median(issueFloor));

    // "Armar Remito" for a number of six lines.
    stock::IssueEntry six = documents.issues.first();
    six.lines = six.lines.mid(0, 6);
    const int number = stock::recordIssue(db, six).number;
    TFRemi remi;
    remi.setMode(TFRemi::Mode::Egresos);
    remi.openViews();
    remi.EdNro->setText(QString::number(number));
    QList<double> building6;
    for (int i = 0; i < 50; ++i)
        building6 << bench::timeSeconds([&] { remi.ArmarClick(); });
    if (remi.DBGrid1->model()->rowCount() != 6)
        throw std::runtime_error("the note does not hold its six lines");
    remi.closeViews();
    QList<double> plainNote;
    for (int i = 0; i < 50; ++i)
        plainNote << bench::timeSeconds([&] {
            QSqlQuery rows = db.execute(
                QStringLiteral("SELECT e.EGRFEC, e.EGRNRO, e.EGRCMCT, e.EGRCAN1, e.EGRCAN2, s.ARTDES FROM EGRESOS e "
                               "LEFT JOIN STOCK s ON s.ARTCMCT = e.EGRCMCT WHERE e.EGRNRO = ?"),
                {number});
            while (rows.next()) {
            }
        });
    bench::report(QStringLiteral("\"Armar Remito\", 6 lines (median of 50)"), bench::median(building6),
                  QStringLiteral("plain SQL read"), bench::median(plainNote));
    bench::note(QStringLiteral("  under 20 ms"), bench::median(building6) < 0.02 ? QStringLiteral("yes") : QStringLiteral("NO"));
}

const bench::Registrar registrar("stockmovements", runStockMovements);

}  // namespace
