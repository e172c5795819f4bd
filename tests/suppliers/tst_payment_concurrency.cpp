#include "SupplierTestShop.h"

#include "platform/db/DataLink.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Counters paying suppliers at the same moment, each a process of its own on one database.
class TestPaymentConcurrency : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Starts one counter per mode; each reads what it needs, says "listo", and pays when the flag
    // file appears, so that the payments meet. Returns each counter's exit code and output.
    QList<std::pair<int, QByteArray>> together(const SupplierTestShop &shop, const QStringList &modes)
    {
        const QString stamp = QString::number(QDateTime::currentMSecsSinceEpoch());
        const QString link = m_dir.filePath(QStringLiteral("shop%1.udl").arg(stamp));
        vx::DataLink::write(link, shop.connectionString);
        const QString go = m_dir.filePath(QStringLiteral("go%1").arg(stamp));
        QList<QProcess *> counters;
        for (const QString &mode : modes) {
            auto *p = new QProcess;
            p->start(QStringLiteral(CASH_WORKSTATION), {link, mode, go});
            counters << p;
        }
        for (QProcess *p : std::as_const(counters)) {
            if (!p->waitForReadyRead(60000) || p->readLine().trimmed() != "listo")
                qWarning("a counter did not get ready: %s", p->readAllStandardError().constData());
        }
        QFile flag(go);
        if (!flag.open(QIODevice::WriteOnly))
            qWarning("the flag file could not be written");
        flag.close();
        QList<std::pair<int, QByteArray>> out;
        for (QProcess *p : std::as_const(counters)) {
            const bool finished = p->waitForFinished(240000);
            out.append({finished ? p->exitCode() : -1, p->readAllStandardOutput().trimmed()});
            if (out.last().first != 0)
                qInfo("%s", p->readAllStandardError().constData());
            delete p;
        }
        return out;
    }

private slots:
    // Two counters pay the same invoice from the same list: one is recorded, the other refused,
    // and the supplier's balance is lowered once.
    void twoCountersPayOneInvoice()
    {
        SupplierTestShop shop;
        const int supplier = shop.supplier(QStringLiteral("TEXTIL DEL SUR"));
        QCOMPARE(supplier, 1);
        const qint64 invoice = shop.document(supplier, QStringLiteral("13"), 1, QDate(2026, 11, 2), 100);
        const auto results = together(shop, {QStringLiteral("payinvoice"), QStringLiteral("payinvoice")});
        QList<int> codes{results[0].first, results[1].first};
        std::sort(codes.begin(), codes.end());
        QCOMPARE(codes, (QList<int>{0, 3}));
        QCOMPARE(shop.balanceOf(invoice), 0.0);
        QCOMPARE(shop.supplierBalance(supplier), 0.0);
        QCOMPARE(shop.count(QStringLiteral("PAGOS")), 1);
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 1);
        QCOMPARE(shop.count(QStringLiteral("PROCOM"), QStringLiteral("COMTIP = '26'")), 0);
    }

    // Two workstations recording documents for one supplier at the same moment: every document
    // reaches the balance, and a number both type is recorded once.
    void twoWorkstationsRecordDocuments()
    {
        SupplierTestShop shop;
        shop.supplier(QStringLiteral("TEXTIL DEL SUR"));
        const auto results = together(shop, {QStringLiteral("documents"), QStringLiteral("documents")});
        QCOMPARE(results[0].first, 0);
        QCOMPARE(results[1].first, 0);
        QStringList said{QString::fromLatin1(results[0].second), QString::fromLatin1(results[1].second)};
        said.sort();
        QCOMPARE(said, (QStringList{QStringLiteral("duplicado"), QStringLiteral("grabado")}));
        QCOMPARE(shop.count(QStringLiteral("PROCOM")), 41);
        QCOMPARE(shop.supplierBalance(1), 45.0);
    }

    // Two payments recorded at the same moment with no number typed get two numbers.
    void twoPaymentsAtOnceGetTwoNumbers()
    {
        SupplierTestShop shop;
        shop.supplier(QStringLiteral("TEXTIL DEL SUR"));
        const auto results = together(shop, {QStringLiteral("payahead"), QStringLiteral("payahead")});
        QCOMPARE(results[0].first, 0);
        QCOMPARE(results[1].first, 0);
        QStringList numbers{QString::fromLatin1(results[0].second), QString::fromLatin1(results[1].second)};
        numbers.sort();
        QCOMPARE(numbers, (QStringList{QStringLiteral("00000001"), QStringLiteral("00000002")}));
        QCOMPARE(shop.lines(QStringLiteral("SELECT COBREC FROM PAGOS ORDER BY COBREC")), numbers);
        QCOMPARE(shop.supplierBalance(1), -20.0);
    }
};

QTEST_GUILESS_MAIN(TestPaymentConcurrency)
#include "tst_payment_concurrency.moc"
