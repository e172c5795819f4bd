#include "CashTestShop.h"

#include "platform/db/DataLink.h"

#include <QProcess>
#include <QTest>

// Workstations selling and closing the cash at the same moment, each a process of its own.
class TestCashConcurrency : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString linkTo(const CashTestShop &shop)
    {
        const QString link = m_dir.filePath(QStringLiteral("shop%1.udl").arg(QDateTime::currentMSecsSinceEpoch()));
        vx::DataLink::write(link, shop.connectionString);
        return link;
    }

    static QProcess *start(const QString &link, const QString &mode, const QString &argument)
    {
        auto *p = new QProcess;
        p->start(QStringLiteral(CASH_WORKSTATION), {link, mode, argument});
        return p;
    }

    static int finish(QProcess *p)
    {
        const bool finished = p->waitForFinished(240000);
        const int code = finished ? p->exitCode() : -1;
        if (code != 0)
            qInfo("%s", p->readAllStandardError().constData());
        delete p;
        return code;
    }

private slots:
    // Whatever the closings took, and what the till still holds, is every sale's cash.
    void sellingWhileClosingLosesNothing()
    {
        CashTestShop shop;
        const QString link = linkTo(shop);
        QProcess *seller = start(link, QStringLiteral("sell"), QStringLiteral("120"));
        QProcess *closer = start(link, QStringLiteral("close"), QStringLiteral("15"));
        QCOMPARE(finish(seller), 0);
        QCOMPARE(finish(closer), 0);
        QCOMPARE(shop.count(QStringLiteral("CAJAD")), 15);
        const qint64 withdrawn = cash::toCents(shop.sumOf(QStringLiteral("CAJAD")));
        QCOMPARE(withdrawn + shop.figures().tillCents(), 120 * 1000);
    }

    // Two closings confirmed at the same moment: one is recorded, the other refused.
    void twoClosingsAtOnce()
    {
        CashTestShop shop;
        shop.cashRow(QStringLiteral("S"), QString(), 100);
        shop.sell(50);
        const QString link = linkTo(shop);
        const QString go = m_dir.filePath(QStringLiteral("go%1").arg(QDateTime::currentMSecsSinceEpoch()));
        QList<QProcess *> closers{start(link, QStringLiteral("closeonce"), go),
                                  start(link, QStringLiteral("closeonce"), go)};
        for (QProcess *p : std::as_const(closers)) {
            QVERIFY(p->waitForReadyRead(60000));
            QCOMPARE(p->readLine().trimmed(), QByteArray("listo"));
        }
        QFile flag(go);
        QVERIFY(flag.open(QIODevice::WriteOnly));
        flag.close();
        QList<int> codes{finish(closers[0]), finish(closers[1])};
        std::sort(codes.begin(), codes.end());
        QCOMPARE(codes, (QList<int>{0, 3}));
        QCOMPARE(shop.count(QStringLiteral("CAJAD")), 1);
        QCOMPARE(shop.sumOf(QStringLiteral("CAJAD")), 150.0);
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 1);
        QCOMPARE(shop.count(QStringLiteral("CAJA"), QStringLiteral("CAJMOV = 'S'")), 1);
    }
};

QTEST_GUILESS_MAIN(TestCashConcurrency)
#include "tst_cash_concurrency.moc"
