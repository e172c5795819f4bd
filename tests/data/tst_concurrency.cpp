#include "../common/ShopDatabase.h"

#include "platform/db/DataLink.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestConcurrency : public QObject {
    Q_OBJECT
private slots:
    void workstationsRecordingAtOnceLoseNothing()
    {
        ShopDatabase shop;
        shop.db().execute(QStringLiteral("INSERT INTO STOCK (ARTCMCT, ARTEX1) VALUES ('7790001000019', 1000)"));
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("shop.udl"));
        vx::DataLink::write(link, shop.connectionString);

        constexpr int workstations = 4;
        constexpr int salesEach = 150;
        QList<QProcess *> workers;
        for (int i = 0; i < workstations; ++i) {
            auto *p = new QProcess(this);
            p->start(QStringLiteral(STOCK_HAMMER), {link, QStringLiteral("7790001000019"), QString::number(salesEach)});
            QVERIFY(p->waitForStarted());
            workers << p;
        }
        for (QProcess *p : std::as_const(workers)) {
            QVERIFY(p->waitForFinished(180000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }
        constexpr int total = workstations * salesEach;
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = '7790001000019'")).toDouble(),
                 1000.0 - total);
        // Every sale got its own receipt number, with no gap.
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")).toInt(), total);
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(DISTINCT COMNRO) FROM CLICOM")).toInt(), total);
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT MAX(COMNRO) FROM CLICOM")).toInt(), total);
    }
};

QTEST_GUILESS_MAIN(TestConcurrency)
#include "tst_concurrency.moc"
