// The customer recordings without a window: what they refuse, what they write, and that a
// workstation's proposed code never overwrites another's new customer.
#include "CustomerShop.h"

#include <QTest>

using customers::CustomerError;
using customers::SaveRequest;

class TestCustomerStore : public QObject {
    Q_OBJECT

    static customers::Customer customer(int code, const QString &name, double balance = 0)
    {
        customers::Customer c;
        c.code = code;
        c.name = name;
        c.province = QStringLiteral("C.A.B.A.");
        c.taxCondition = QStringLiteral("MONOTRIBUTISTA");
        c.documentType = QStringLiteral("D.N.I.");
        c.date = QDate(2026, 12, 8);
        c.balance = balance;
        return c;
    }

private slots:
    void balanceNoteReplacesTheEarlierOne_data()
    {
        QTest::addColumn<QString>("observations");
        QTest::addColumn<QString>("expected"); // "-" when it does not fit
        QTest::newRow("first change") << QStringLiteral("PAGA A FIN DE MES")
                                      << QStringLiteral("PAGA A FIN DE MES - Saldo Modificado el 08/12/2026");
        QTest::newRow("second change keeps one note")
            << QStringLiteral("PAGA A FIN DE MES - Saldo Modificado el 01/12/2026")
            << QStringLiteral("PAGA A FIN DE MES - Saldo Modificado el 08/12/2026");
        QTest::newRow("empty") << QString() << QStringLiteral(" - Saldo Modificado el 08/12/2026");
        QTest::newRow("too long to carry the note") << QStringLiteral("CLIENTE DESDE 1998, PAGA CON CHEQUE") << QStringLiteral("-");
    }
    void balanceNoteReplacesTheEarlierOne()
    {
        QFETCH(QString, observations);
        QFETCH(QString, expected);
        const std::optional<QString> noted = customers::withBalanceNote(observations, QStringLiteral("08/12/2026"));
        QCOMPARE(noted.value_or(QStringLiteral("-")), expected);
    }

    void deleteKeepsSalesHistory_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("refusal"); // empty: deleted
        QTest::newRow("walk-in customer") << 1 << QStringLiteral("Cliente reservado para CONSUMIDOR FINAL.");
        QTest::newRow("one sale") << 2 << QStringLiteral("Tiene ventas registradas.");
        QTest::newRow("only a voided sale") << 3 << QStringLiteral("Tiene ventas registradas.");
        QTest::newRow("goods issued to it") << 4 << QStringLiteral("Tiene movientos de Egresos registrados.");
        QTest::newRow("no history") << 5 << QString();
    }
    void deleteKeepsSalesHistory()
    {
        QFETCH(int, code);
        QFETCH(QString, refusal);
        CustomerShop shop;
        for (int c = 1; c <= 5; ++c)
            shop.addCustomer(c, QStringLiteral("CLIENTE %1").arg(c));
        shop.addSale(100, 2);
        shop.addSale(101, 3, true);
        shop.addIssue(7, 4);
        try {
            customers::deleteCustomer(shop.db(), code);
            QVERIFY2(refusal.isEmpty(), "a customer with history was deleted");
        } catch (const CustomerError &failure) {
            QCOMPARE(failure.message(), refusal);
            QCOMPARE(failure.kind(), CustomerError::Kind::Refused);
        }
        QCOMPARE(shop.count(QStringLiteral("CLICOD = ?"), {code}), refusal.isEmpty() ? 0 : 1);
        QCOMPARE(shop.count(), refusal.isEmpty() ? 4 : 5);
        QVERIFY(!shop.db().inTransaction());
    }

    void codeTakenMeanwhile()
    {
        CustomerShop shop;
        shop.addCustomer(1, QStringLiteral("CONSUMIDOR FINAL"));
        const std::unique_ptr<vx::Connection> other = shop.another();
        // Both workstations were offered code 2; the other one saved first.
        SaveRequest theirs{customer(2, QStringLiteral("PEREZ JUAN")), SaveRequest::Origin::Proposed};
        QCOMPARE(customers::saveCustomer(*other, theirs).code, 2);

        SaveRequest mine{customer(2, QStringLiteral("GOMEZ ANA")), SaveRequest::Origin::Proposed};
        const customers::SaveResult moved = customers::saveCustomer(shop.db(), mine);
        QCOMPARE(moved.code, 3);
        QVERIFY(moved.movedToFreeCode);
        QCOMPARE(shop.value(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 2")).toString(),
                 QStringLiteral("PEREZ JUAN"));
        QCOMPARE(shop.value(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 3")).toString(),
                 QStringLiteral("GOMEZ ANA"));

        // A typed code the operator was not asked about is refused, never overwritten.
        SaveRequest typed{customer(2, QStringLiteral("LOPEZ SOFIA")), SaveRequest::Origin::Typed};
        QVERIFY_THROWS_EXCEPTION(CustomerError, customers::saveCustomer(shop.db(), typed));
        QCOMPARE(shop.value(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 2")).toString(),
                 QStringLiteral("PEREZ JUAN"));
        QCOMPARE(shop.count(), 3);
    }

    void modifyingKeepsTheBalanceUnlessAsked()
    {
        CustomerShop shop;
        shop.addCustomer(7, QStringLiteral("RUIZ PEDRO"), QString(), 150.5);
        SaveRequest request{customer(7, QStringLiteral("RUIZ PEDRO ALBERTO"), 999), SaveRequest::Origin::Loaded, true};
        customers::saveCustomer(shop.db(), request);
        QCOMPARE(shop.value(QStringLiteral("SELECT CLISAL FROM CLIENTE WHERE CLICOD = 7")).toDouble(), 150.5);
        QCOMPARE(shop.value(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 7")).toString(),
                 QStringLiteral("RUIZ PEDRO ALBERTO"));
        request.changeBalance = true;
        customers::saveCustomer(shop.db(), request);
        QCOMPARE(shop.value(QStringLiteral("SELECT CLISAL FROM CLIENTE WHERE CLICOD = 7")).toDouble(), 999.0);
        QCOMPARE(shop.count(), 1);

        // Text longer than its column rolls everything back with the reason.
        request.customer.address = QString(31, QLatin1Char('X'));
        try {
            customers::saveCustomer(shop.db(), request);
            QFAIL("an address of 31 characters was stored");
        } catch (const CustomerError &failure) {
            QVERIFY(failure.message().startsWith(QStringLiteral("No se pudo concluir el proceso.")));
            QCOMPARE(failure.kind(), CustomerError::Kind::Failed);
        }
        QVERIFY(!shop.db().inTransaction());
        QCOMPARE(shop.value(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 7")).toString(),
                 QStringLiteral("RUIZ PEDRO ALBERTO"));
    }
};

QTEST_MAIN(TestCustomerStore)
#include "tst_customerstore.moc"
