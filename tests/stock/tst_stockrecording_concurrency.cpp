// Two workstations receiving and one selling the same articles in fractions at the same moment,
// each a process of its own: no receipt number is shared, the stock is exactly what came in less
// what went out, each article's cost is that of its last receipt, and the journal agrees.
#include "StockTestShop.h"
#include "StockWorkstationPlan.h"

#include "platform/db/DataLink.h"

#include <QProcess>
#include <QTest>

class TestStockRecordingConcurrency : public QObject {
    Q_OBJECT

private slots:
    void receivingWhileSelling()
    {
        const int receipts = TestDatabase::onPostgres() ? 80 : 120;
        const int sales = receipts;
        StockTestShop shop;
        for (const QString &code : stockplan::articles())
            shop.addArticle(code, stockplan::initialStock, stockplan::initialStock);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("shop.udl"));
        vx::DataLink::write(link, shop.connectionString);

        QList<QProcess *> running;
        const QList<QStringList> stations{{QStringLiteral("ingreso"), QStringLiteral("1"), QString::number(receipts)},
                                          {QStringLiteral("ingreso"), QStringLiteral("2"), QString::number(receipts)},
                                          {QStringLiteral("venta"), QStringLiteral("3"), QString::number(sales)}};
        for (const QStringList &station : stations) {
            auto *p = new QProcess;
            p->start(QStringLiteral(STOCK_WORKSTATION), QStringList{link} + station);
            QVERIFY(p->waitForStarted());
            running << p;
        }
        int renumbered = 0;
        for (QProcess *p : std::as_const(running)) {
            const bool finished = p->waitForFinished(240000);
            const QByteArray errors = p->readAllStandardError();
            const int code = p->exitCode();
            renumbered += p->readAllStandardOutput().trimmed().toInt();
            delete p;
            QVERIFY(finished);
            QVERIFY2(code == 0, errors.constData());
        }
        qInfo("%d proposed receipt numbers were taken by another workstation first", renumbered);

        QCOMPARE(shop.value(QStringLiteral("SELECT COUNT(DISTINCT INGNRO) FROM INGRESOS")).toInt(), 2 * receipts);
        QCOMPARE(shop.value(QStringLiteral("SELECT COUNT(*) FROM (SELECT INGNRO FROM INGRESOS GROUP BY INGNRO "
                                           "HAVING COUNT(*) <> 2) t"))
                     .toInt(),
                 0);

        QHash<QString, double> change1;
        QHash<QString, double> change2;
        for (int w = 1; w <= 2; ++w)
            for (int i = 0; i < receipts; ++i)
                for (const stock::ReceiptLine &line : stockplan::receiptLines(w, i)) {
                    change1[line.articleCode] += line.quantity1;
                    change2[line.articleCode] += line.quantity2;
                }
        for (int i = 0; i < sales; ++i)
            for (const sales::SaleLine &line : stockplan::saleLines(i))
                change1[line.articleCode] -= line.quantity;

        for (const QString &code : stockplan::articles()) {
            const auto stock = shop.rows(QStringLiteral("STOCK"), {QStringLiteral("ARTEX1"), QStringLiteral("ARTEX2"),
                                                                   QStringLiteral("ARTCOS1"), QStringLiteral("ARTCOS2")},
                                         QStringLiteral("ARTCMCT = '%1'").arg(code))
                                   .first();
            QCOMPARE(stock[0].toDouble(), stockplan::initialStock + change1.value(code));
            QCOMPARE(stock[1].toDouble(), stockplan::initialStock + change2.value(code));
            const auto last = shop.rows(QStringLiteral("INGRESOS"), {QStringLiteral("INGCOS1"), QStringLiteral("INGCOS2")},
                                        QStringLiteral("INGUNO = (SELECT MAX(INGUNO) FROM INGRESOS WHERE INGCMCT = '%1')")
                                            .arg(code))
                                  .first();
            QCOMPARE(stock[2], last[0]);
            QCOMPARE(stock[3], last[1]);
            const QString journal = QStringLiteral(
                "SELECT SUM(CASE WHEN MOVTIP = 'I' THEN %1 ELSE -%1 END) FROM MOVIM WHERE MOVCMCT = ?");
            QCOMPARE(shop.value(journal.arg(QStringLiteral("MOVCAN1")), {code}).toDouble(), change1.value(code));
            QCOMPARE(shop.value(journal.arg(QStringLiteral("COALESCE(MOVCAN2, 0)")), {code}).toDouble(),
                     change2.value(code));
        }
    }
};

QTEST_GUILESS_MAIN(TestStockRecordingConcurrency)
#include "tst_stockrecording_concurrency.moc"
