#include "../common/SaleShop.h"
#include "../common/ShopDatabase.h"

#include "platform/db/DataLink.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

// A counter killed (kill -9) at any moment of a sale leaves a sound database: every sale it was
// told was recorded is there, whole; the one it was writing is there whole or not at all.
class TestKillLoop : public QObject {
    Q_OBJECT

private slots:
    void killedMidSaleLeavesTheBooksSound()
    {
        ShopDatabase shop;
        saleshop::fill(shop.db());
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("shop.udl"));
        vx::DataLink::write(link, shop.connectionString);

        QRandomGenerator random(20261208);
        QElapsedTimer clock;
        clock.start();
        int confirmed = 0;
        int kills = 0;
        while (kills < 40 && clock.elapsed() < 50000) {
            QProcess writer;
            writer.start(QStringLiteral(SALE_WRITER), {link, QString::number(kills)});
            QVERIFY(writer.waitForStarted());
            // Wait for the first sale, then let it run a random while into the next ones.
            QVERIFY2(writer.waitForReadyRead(15000), writer.readAllStandardError().constData());
            QTest::qWait(random.bounded(5, 120));
            writer.kill();
            QVERIFY(writer.waitForFinished(5000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
            confirmed += int(writer.readAllStandardOutput().count('S'));
            ++kills;

            if (!TestDatabase::onPostgres())
                QCOMPARE(shop.db().scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            const QString broken = saleshop::brokenRule(shop.db());
            QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("after kill %1: %2").arg(kills).arg(broken)));
            QVERIFY2(shop.count(QStringLiteral("CLICOM")) >= confirmed,
                     qPrintable(QStringLiteral("after kill %1: %2 sales stored, %3 confirmed")
                                    .arg(kills)
                                    .arg(shop.count(QStringLiteral("CLICOM")))
                                    .arg(confirmed)));
        }
        QVERIFY2(kills >= 24, qPrintable(QStringLiteral("only %1 kills in time").arg(kills)));
        qInfo("%d kills, %d sales confirmed, %d stored", kills, confirmed, shop.count(QStringLiteral("CLICOM")));
    }
};

QTEST_GUILESS_MAIN(TestKillLoop)
#include "tst_killloop.moc"
