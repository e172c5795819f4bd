#include "../common/TempRoot.h"

#include "data/Schema.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"

#include <QProcess>
#include <QTest>

class TestConcurrency : public QObject {
    Q_OBJECT
private slots:
    void twoProcessesLoseNoStockUpdate()
    {
        TempRoot root;
        data::createShop({QStringLiteral("clave"), false});
        auto db = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        db->execute(QStringLiteral("INSERT INTO STOCK (ARTCMCT, ARTEX1) VALUES ('7790001000019', 1000)"));

        QList<QProcess *> workers;
        for (int i = 0; i < 2; ++i) {
            auto *p = new QProcess(this);
            p->start(QStringLiteral(STOCK_HAMMER),
                     {vx::paths::dataLinkFile(), QStringLiteral("7790001000019"), QStringLiteral("500")});
            QVERIFY(p->waitForStarted());
            workers << p;
        }
        for (QProcess *p : std::as_const(workers)) {
            QVERIFY(p->waitForFinished(120000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }
        QCOMPARE(db->scalar(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = '7790001000019'")).toDouble(), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestConcurrency)
#include "tst_concurrency.moc"
