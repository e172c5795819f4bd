#include "SalesTestShop.h"
#include "WorkstationPlan.h"

#include "platform/db/DataLink.h"

#include <QProcess>
#include <QTest>

#include <cmath>

// Counter workstations recording sales at the same moment, each a process of its own, lose
// nothing and never share a receipt number.
class TestSaleRecordingConcurrency : public QObject {
    Q_OBJECT

    static void recordAtOnce(int workstations, int salesEach)
    {
        SalesTestShop shop;
        for (const QString &code : plan::articles())
            shop.addArticle(code, plan::initialStock, 5);
        shop.addCard(1, QStringLiteral("VISA"), 30, QStringLiteral("CTA 1"));
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("shop.udl"));
        vx::DataLink::write(link, shop.connectionString);

        QList<QProcess *> running;
        for (int w = 1; w <= workstations; ++w) {
            auto *p = new QProcess;
            p->start(QStringLiteral(SALE_WORKSTATION), {link, QString::number(w), QString::number(salesEach)});
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
        // How often the race the numbering guards against actually happened in this run.
        qInfo("%d proposed receipt numbers were taken by another workstation first", renumbered);

        const int total = workstations * salesEach;
        QCOMPARE(shop.count(QStringLiteral("CLICOM")), total);
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(DISTINCT COMNRO) FROM CLICOM")).toInt(), total);
        QCOMPARE(shop.count(QStringLiteral("ITECLI")), 2 * total);
        QCOMPARE(shop.count(QStringLiteral("EGRESOS")), 2 * total);
        QCOMPARE(shop.count(QStringLiteral("MOVIM")), 2 * total);
        // Every receipt has exactly its own two lines, issues and movements.
        for (const char *check :
             {"SELECT COUNT(*) FROM CLICOM WHERE (SELECT COUNT(*) FROM ITECLI WHERE ITECOM = COMNRO) <> 2",
              "SELECT COUNT(*) FROM CLICOM WHERE (SELECT COUNT(*) FROM EGRESOS WHERE EGRNRO = COMNRO) <> 2",
              "SELECT COUNT(*) FROM CLICOM WHERE (SELECT COUNT(*) FROM MOVIM WHERE MOVNRO = COMNRO) <> 2"})
            QVERIFY2(shop.db().scalar(QString::fromLatin1(check)).toInt() == 0, check);

        QHash<QString, double> sold;
        int cards = 0;
        for (int w = 1; w <= workstations; ++w) {
            for (int i = 0; i < salesEach; ++i) {
                for (const sales::SaleLine &line : plan::lines(w, i))
                    sold[line.articleCode] += line.quantity;
                cards += plan::paidByCard(i) ? 1 : 0;
            }
        }
        for (const QString &code : plan::articles())
            QCOMPARE(shop.stockOf(code), plan::initialStock - sold.value(code));

        // Each card coupon carries the number its sale was finally recorded with.
        QCOMPARE(shop.count(QStringLiteral("CUPONES")), cards);
        QCOMPARE(
            shop.db()
                .scalar(QStringLiteral("SELECT COUNT(*) FROM CUPONES, CAJA WHERE CAJTIP = 'TT' AND CAJIMP = CUPIMP "
                                       "AND CAJCOM = CUPCOM"))
                .toInt(),
            cards);
    }

private slots:
    void twoWorkstationsOnOneFile()
    {
        if (TestDatabase::onPostgres())
            QSKIP("four workstations share the server instead");
        recordAtOnce(2, 200);
    }

    void fourWorkstationsOnTheServer()
    {
        if (!TestDatabase::onPostgres())
            QSKIP("a shop file is shared by two workstations instead");
        recordAtOnce(4, 100);
    }
};

QTEST_GUILESS_MAIN(TestSaleRecordingConcurrency)
#include "tst_salerecording_concurrency.moc"
