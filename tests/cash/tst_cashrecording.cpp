#include "CashTestShop.h"

#include "cash/CashAdjustment.h"
#include "cash/CashClosing.h"

#include <QTest>

using cash::CashError;
using cash::ClosingRequest;

// The cash book's figures over rows written by the sales recordings, and the adjustment, card
// clean-up and closing recordings.
class TestCashRecording : public QObject {
    Q_OBJECT

    static ClosingRequest closing(const cash::CashFigures &figures, double withdrawal, std::optional<double> opening)
    {
        ClosingRequest request;
        request.closingDate = QDate::currentDate();
        request.withdrawalCents = cash::toCents(withdrawal);
        if (opening)
            request.openingCents = cash::toCents(*opening);
        request.openingDate = QDate::currentDate().addDays(1);
        request.figures = figures;
        return request;
    }

    static void expectError(const std::function<void()> &work, CashError::Kind kind, const QString &message)
    {
        try {
            work();
            QFAIL("the recording was accepted");
        } catch (const CashError &error) {
            QCOMPARE(int(error.kind()), int(kind));
            QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
        }
    }

private slots:
    // Sales, a refund, adjustments and rows of other writers, each counted where it belongs.
    void figuresCountEachRowWhereItBelongs()
    {
        CashTestShop shop;
        QCOMPARE(shop.figures().tillCents(), 0);
        shop.sell(100, 50, 50);                  // half cash, half card
        shop.sell(500);                          // all cash
        shop.refund(shop.sell(30));              // sold and paid back
        cash::recordAdjustment(shop.db(), {false, 150, QDate::currentDate(), QStringLiteral("CAMBIO")});
        const QDate yesterday = QDate::currentDate().addDays(-1);
        cash::recordAdjustment(shop.db(), {true, 20, yesterday, QStringLiteral("FONDO")});
        shop.cashRow(QStringLiteral("E"), QStringLiteral("TT"), -70); // a supplier paid by card
        shop.cashRow(QStringLiteral("S"), QString(), 1000);

        const cash::CashFigures figures = shop.figures();
        QCOMPARE(figures.openingCents, 100000);
        QCOMPARE(figures.cashCents, 50 * 100 + 500 * 100 - 150 * 100 + 20 * 100);
        QCOMPARE(figures.cardCents, 5000);
        QCOMPARE(figures.tillCents(), 142000);
        QCOMPARE(cash::centsText(figures.tillCents()), QStringLiteral("1420,00"));

        // The adjustments: written today, dated in or out by the day typed, amount signed.
        const QList<QVariantList> rows = shop.rows(
            QStringLiteral("CAJA"),
            {QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"), QStringLiteral("CAJENT"), QStringLiteral("CAJSAL"),
             QStringLiteral("CAJCON"), QStringLiteral("CAJTIP")},
            QStringLiteral("CAJMOV = 'J'"));
        QCOMPARE(rows.size(), 2);
        const QDateTime today = day(QDate::currentDate().day(), QDate::currentDate().month(), QDate::currentDate().year());
        QCOMPARE(rows[0], (QVariantList{-150.0, today, QVariant(), today, QStringLiteral("AJUSTE en CAJA/ CAMBIO"),
                                        QStringLiteral("EF")}));
        QCOMPARE(rows[1][0].toDouble(), 20.0);
        QCOMPARE(rows[1][1], QVariant(today));
        QCOMPARE(rows[1][2].toDateTime().date(), yesterday);
        QVERIFY(rows[1][3].isNull());

        // The period's summary by the day rows were written, the last day whole.
        const cash::PeriodFigures period = cash::readPeriodFigures(shop.db(), QDate::currentDate(), QDate::currentDate());
        QCOMPARE(period.cashCents, figures.cashCents);
        QCOMPARE(period.cardCents, figures.cardCents);
        const cash::PeriodFigures before = cash::readPeriodFigures(shop.db(), yesterday, yesterday);
        QCOMPARE(before.cashCents + before.cardCents, 0);
    }

    // The amount is typed positive: a negative one is refused, 0 is a row of 0, cents are kept.
    void adjustmentAmounts()
    {
        CashTestShop shop;
        expectError([&] { cash::recordAdjustment(shop.db(), {false, -150, QDate::currentDate(), {}}); },
                    CashError::Kind::Invalid, QStringLiteral("El importe debe ser positivo."));
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 0);
        cash::recordAdjustment(shop.db(), {false, 0, QDate::currentDate(), {}});
        cash::recordAdjustment(shop.db(), {true, 10.005, QDate::currentDate(), {}});
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 2);
        QCOMPARE(shop.figures().cashCents, 1001);
    }

    // The card clean-up takes the card rows of the days given, all of them and nothing else.
    void cardCleanUp()
    {
        CashTestShop shop;
        const QDate today = QDate::currentDate();
        QCOMPARE(cash::clearCardRows(shop.db(), today, today), 0);
        shop.sell(100, 0, 100);
        shop.sell(40, 0, 40);
        shop.sell(60);
        shop.cashRow(QStringLiteral("I"), QStringLiteral("TT"), 25, today.addDays(-3));
        // A card row written at the last hour of the last day.
        shop.insert(QStringLiteral("CAJA"),
                    {QStringLiteral("CAJMOV"), QStringLiteral("CAJTIP"), QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC")},
                    {QStringLiteral("I"), QStringLiteral("TT"), 5.0, vx::naiveDateTime(today, QTime(23, 59, 30))});
        QCOMPARE(shop.figures().cardCents, 17000);
        QCOMPARE(cash::clearCardRows(shop.db(), today.addDays(-1), today), 3);
        QCOMPARE(shop.figures().cardCents, 2500);
        QCOMPARE(shop.figures().cashCents, 6000);
    }

    // The closing example, a split typed either way, to the cent; the history counts closings.
    void closingSplitsTheTill_data()
    {
        QTest::addColumn<double>("opening");
        QTest::addColumn<double>("sold");
        QTest::addColumn<double>("withdrawal");
        QTest::addColumn<double>("nextOpening");
        QTest::newRow("example") << 1000.0 << 500.0 << 1000.0 << 300.0;
        QTest::newRow("cents") << 1000.0 << 500.10 << 1000.05 << 300.05;
        QTest::newRow("above the till") << 1000.0 << 500.0 << 1500.0 << -200.0;
        QTest::newRow("all withdrawn") << 1000.0 << 500.0 << 1300.0 << 0.0;
    }
    void closingSplitsTheTill()
    {
        QFETCH(double, opening);
        QFETCH(double, sold);
        QFETCH(double, withdrawal);
        QFETCH(double, nextOpening);
        CashTestShop shop;
        shop.cashRow(QStringLiteral("S"), QString(), opening);
        shop.sell(sold);
        shop.sell(80, 0, 80);
        cash::recordAdjustment(shop.db(), {false, 200, QDate::currentDate(), {}});
        const cash::CashFigures figures = shop.figures();
        QCOMPARE(figures.cashCents, cash::toCents(sold - 200));
        QCOMPARE(figures.tillCents(), cash::toCents(opening + sold - 200));

        const cash::ClosedCash closed = cash::closeCash(shop.db(), closing(figures, withdrawal, nextOpening));
        QCOMPARE(closed.rowsClosed, 4);
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 1);
        QCOMPARE(shop.sumOf(QStringLiteral("CAJA"), QStringLiteral("CAJMOV = 'S'")), nextOpening);
        QCOMPARE(shop.sumOf(QStringLiteral("CAJAD")), withdrawal);
        const QString today = vx::shopformat::formatDate(QDate::currentDate());
        const QString tomorrow = vx::shopformat::formatDate(QDate::currentDate().addDays(1));
        QCOMPARE(shop.rows(QStringLiteral("CAJAD"), {QStringLiteral("CAJMOV"), QStringLiteral("CAJCOM"), QStringLiteral("CAJCON")}),
                 (QList<QVariantList>{{QStringLiteral("I"), QStringLiteral("0"), QStringLiteral("Por Cierre de Caja del ") + today}}));
        QCOMPARE(shop.rows(QStringLiteral("CAJA"), {QStringLiteral("CAJCON"), QStringLiteral("CAJTIP")}),
                 (QList<QVariantList>{{QStringLiteral("Saldo Inicial de Caja del ") + tomorrow, QVariant()}}));
        const cash::CashFigures after = shop.figures();
        QCOMPARE(after.openingCents, cash::toCents(nextOpening));
        QCOMPARE(after.cashCents + after.cardCents, 0);
    }

    // Closings one after another each write their own row; figures read before another closing
    // write nothing; withdrawal and opening must add up; "Retiros" counts closings only.
    void closingsAndTheirHistory()
    {
        CashTestShop shop;
        const QDate today = QDate::currentDate();
        shop.sell(100);
        const cash::CashFigures first = shop.figures();
        cash::closeCash(shop.db(), closing(first, 60, 40));
        expectError([&] { cash::closeCash(shop.db(), closing(first, 60, 40)); }, CashError::Kind::ClosedElsewhere,
                    cash::closedElsewhereMessage());
        expectError([&] { cash::closeCash(shop.db(), closing(shop.figures(), 10, 10)); }, CashError::Kind::Invalid,
                    QStringLiteral("El retiro y el saldo para apertura deben sumar"));
        // No opening row: everything withdrawn, the next period starts empty.
        cash::closeCash(shop.db(), closing(shop.figures(), 40, std::nullopt));
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 0);
        QCOMPARE(shop.count(QStringLiteral("CAJAD")), 2);
        // A stale closing after one that left no opening row is refused as well.
        expectError([&] { cash::closeCash(shop.db(), closing(first, 100, std::nullopt)); },
                    CashError::Kind::ClosedElsewhere, cash::closedElsewhereMessage());

        // A central-cash payment carries only an exit date and stays out of the withdrawals.
        shop.insert(QStringLiteral("CAJAD"),
                    {QStringLiteral("CAJMOV"), QStringLiteral("CAJTIP"), QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"),
                     QStringLiteral("CAJSAL")},
                    {QStringLiteral("E"), QStringLiteral("EF"), -30.0, vx::naiveDateTime(today), vx::naiveDateTime(today)});
        QCOMPARE(cash::closingWithdrawalsCents(shop.db(), today, today), 10000);
        QCOMPARE(cash::closingWithdrawalsCents(shop.db(), today.addDays(-5), today.addDays(-1)), 0);
        // A payment is no closing: the figures read before it still close.
        shop.sell(25);
        cash::closeCash(shop.db(), closing(shop.figures(), 25, 0));
    }

    // Rows recorded after the figures were read stay for the next period.
    void laterRowsStay()
    {
        CashTestShop shop;
        shop.sell(100);
        const cash::CashFigures figures = shop.figures();
        shop.sell(7);
        cash::closeCash(shop.db(), closing(figures, 100, 0));
        const cash::CashFigures after = shop.figures();
        QCOMPARE(after.openingCents, 0);
        QCOMPARE(after.cashCents, 700);
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 2);
    }

    // A thousand rows of 0,10 make 100,00 in every figure and in the closing.
    void manySmallAmounts()
    {
        CashTestShop shop;
        for (int i = 0; i < 1000; ++i)
            shop.cashRow(QStringLiteral("J"), QStringLiteral("EF"), 0.10);
        QCOMPARE(shop.figures().cashCents, 10000);
        QCOMPARE(cash::readPeriodFigures(shop.db(), QDate::currentDate(), QDate::currentDate()).cashCents, 10000);
        cash::closeCash(shop.db(), closing(shop.figures(), 100, 0));
        QCOMPARE(shop.sumOf(QStringLiteral("CAJAD")), 100.0);
    }

    // An opening row the database refuses leaves the cash book and the history as they were.
    void failedClosingChangesNothing()
    {
        CashTestShop shop;
        shop.cashRow(QStringLiteral("S"), QString(), 1000);
        shop.sell(500);
        if (TestDatabase::onPostgres()) {
            shop.db().execute(QStringLiteral("CREATE FUNCTION no_opening() RETURNS trigger AS $$ BEGIN "
                                             "IF NEW.CAJMOV = 'S' THEN RAISE EXCEPTION 'sin apertura'; END IF; "
                                             "RETURN NEW; END $$ LANGUAGE plpgsql"));
            shop.db().execute(QStringLiteral("CREATE TRIGGER no_opening BEFORE INSERT ON CAJA FOR EACH ROW "
                                             "EXECUTE FUNCTION no_opening()"));
        } else {
            shop.db().execute(QStringLiteral("CREATE TRIGGER no_opening BEFORE INSERT ON CAJA WHEN NEW.CAJMOV = 'S' "
                                             "BEGIN SELECT RAISE(ABORT, 'sin apertura'); END"));
        }
        const cash::CashFigures figures = shop.figures();
        expectError([&] { cash::closeCash(shop.db(), closing(figures, 1000, 500)); }, CashError::Kind::Failed,
                    QStringLiteral("No se pudo completar el proceso."));
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 2);
        QCOMPARE(shop.count(QStringLiteral("CAJAD")), 0);
        QCOMPARE(shop.figures().tillCents(), 150000);
        QVERIFY(!shop.db().inTransaction());
    }
};

QTEST_GUILESS_MAIN(TestCashRecording)
#include "tst_cashrecording.moc"
