#include "CashWindowShop.h"

#include "cash/CajaD.h"
#include "cash/CashAdjustment.h"
#include "cash/CierreCaja.h"
#include "platform/core/Paths.h"

#include <QDir>

// The cash closing as the operator does it: the question, the split typed either way, Confirma.
class TestCierreCaja : public QObject {
    Q_OBJECT

    static QString date(int days) { return vx::shopformat::formatDate(QDate::currentDate().addDays(days)); }

    // 1000 opening, 500 sold, 200 withdrawn by an adjustment: 1300 in the till.
    static void example(CashWindowShop &shop)
    {
        shop.cashRow(QStringLiteral("S"), QString(), 1000);
        shop.sell(500);
        shop.sell(70, 0, 70);
        cash::recordAdjustment(shop.db(), {false, 200, QDate::currentDate(), QStringLiteral("CAMBIO")});
    }

    static double sumOf(CashWindowShop &shop, const QString &table, const QString &where)
    {
        return shop.db().scalar(QStringLiteral("SELECT SUM(CAJIMP) FROM %1 WHERE %2").arg(table, where)).toDouble();
    }

private slots:
    // The example: typing the withdrawal gives the opening; the period's report is kept first.
    void closingExample()
    {
        CashWindowShop shop;
        example(shop);
        shop.dialogs.confirmAnswers.enqueue(true); shop.dialogs.confirmAnswers.enqueue(true);
        shop.onWindow<TFCierreCaja>([&](TFCierreCaja &w) {
            QCOMPARE(w.EdSaldoIni->text(), QStringLiteral("1000,00"));
            QCOMPARE(w.EdMovDia->text(), QStringLiteral("300,00"));
            QCOMPARE(w.EdEFEC->text(), QStringLiteral("1300,00"));
            QCOMPARE(w.EdFec->text(), date(0));
            QCOMPARE(w.EdFec2->text(), date(1));
            CashWindowShop::type(w.EdRET, QStringLiteral("1000"));
            QCOMPARE(w.EdRET->text(), QStringLiteral("1000,00"));
            QCOMPARE(w.EdAPER->text(), QStringLiteral("300,00"));
            CashWindowShop::click(w.BConfirma);
            QVERIFY(!w.isVisible());
        });
        std::optional<cash::ClosedCash> heard;
        openCierreCaja(nullptr, [&](const cash::ClosedCash &closed) { heard = closed; });
        QCOMPARE(shop.dialogs.texts(QStringLiteral("confirm")),
                 (QStringList{QStringLiteral("ATENCION: Este proceso BORRA todos los movimientos en CAJA.\n\rSugerimos "
                                             "imprimir la consulta de CAJA DIARIA antes de hacer el cierre.\n\rdesea "
                                             "continuar..?"),
                              QStringLiteral("Confirma el Cierre de Caja?")}));
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QVERIFY(heard);
        QCOMPARE(heard->withdrawalCents, 100000);
        QCOMPARE(shop.count(QStringLiteral("CAJAD")), 1);
        QCOMPARE(sumOf(shop, QStringLiteral("CAJAD"), QStringLiteral("CAJMOV = 'I'")), 1000.0);
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 1);
        QCOMPARE(sumOf(shop, QStringLiteral("CAJA"), QStringLiteral("CAJMOV = 'S'")), 300.0);

        // The period's detail was kept in the user folder before its rows went.
        const QStringList kept = QDir(vx::paths::userFolder()).entryList({QStringLiteral("Cierre de Caja *.pdf")});
        QCOMPARE(kept.size(), 1);
        const QString printed = CashWindowShop::pdfText(QDir(vx::paths::userFolder()).filePath(kept.first()));
        QCOMPARE(printed.count(QStringLiteral("Por Venta Nro.")), 2);
        QCOMPARE(printed.count(QStringLiteral("AJUSTE en CAJA/ CAMBIO")), 1);
        QVERIFY(printed.contains(QRegularExpression(QStringLiteral("EFECTIVO EN CAJA:\\s+1300[,.]00"))));
        QVERIFY(printed.contains(QRegularExpression(QStringLiteral("TARJETAS EN CAJA:\\s+70[,.]00"))));

        // The next "Consulta de Caja": opening 300,00 and no movements.
        shop.onWindow<TFCajaD>([&](TFCajaD &w) {
            QCOMPARE(w.EdSaldoIni->text(), QStringLiteral("300,00"));
            QCOMPARE(w.EdEFEDia->text(), QStringLiteral("0,00"));
            QCOMPARE(w.EdTar->text(), QStringLiteral("0,00"));
        });
        openCajaD(nullptr);
    }

    // Typing the opening first sets the withdrawal to the rest; Confirma applies the box typed
    // last even when the operator never left it, so what is written adds up.
    void splitTypedEitherWay()
    {
        CashWindowShop shop;
        example(shop);
        shop.dialogs.confirmAnswers.enqueue(true); shop.dialogs.confirmAnswers.enqueue(true);
        shop.onWindow<TFCierreCaja>([&](TFCierreCaja &w) {
            w.EdFec2->clear();
            CashWindowShop::type(w.EdAPER, QStringLiteral("250"));
            QCOMPARE(w.EdRET->text(), QStringLiteral("1050,00"));
            QCOMPARE(w.EdFec2->text(), date(1));
            w.EdRET->setFocus();
            w.EdRET->selectAll();
            QTest::keyClicks(w.EdRET, QStringLiteral("1500.5"));
            CashWindowShop::click(w.BConfirma);
        });
        openCierreCaja(nullptr);
        QCOMPARE(sumOf(shop, QStringLiteral("CAJAD"), QStringLiteral("1 = 1")), 1500.5);
        QCOMPARE(sumOf(shop, QStringLiteral("CAJA"), QStringLiteral("1 = 1")), -200.5);
    }

    // Answers No, a date that is none, and another counter closing first: nothing written twice.
    void refusals()
    {
        CashWindowShop shop;
        example(shop);
        shop.onWindow<TFCierreCaja>([&](TFCierreCaja &) {});
        openCierreCaja(nullptr); // first question answered No
        QVERIFY(shop.shownWindows.isEmpty());

        shop.dialogs.confirmAnswers.enqueue(true); shop.dialogs.confirmAnswers.enqueue(false); shop.dialogs.confirmAnswers.enqueue(true); shop.dialogs.confirmAnswers.enqueue(true);
        shop.onWindow<TFCierreCaja>([&](TFCierreCaja &w) {
            CashWindowShop::click(w.BConfirma); // "Confirma el Cierre de Caja?" No
            QVERIFY(w.isVisible());
            CashWindowShop::type(w.EdFec, QStringLiteral("31/02/2026"));
            CashWindowShop::click(w.BConfirma);
            QCOMPARE(shop.dialogs.texts(QStringLiteral("error")).size(), 1);
            QVERIFY(w.isVisible());
        });
        openCierreCaja(nullptr);
        QCOMPARE(shop.count(QStringLiteral("CAJAD")), 0);
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 4);

        shop.dialogs.confirmAnswers.enqueue(true); shop.dialogs.confirmAnswers.enqueue(true);
        shop.onWindow<TFCierreCaja>([&](TFCierreCaja &w) {
            cash::ClosingRequest other;
            other.closingDate = QDate::currentDate();
            other.withdrawalCents = w.figures().tillCents();
            other.figures = cash::readCashFigures(shop.db());
            cash::closeCash(shop.db(), other);
            CashWindowShop::type(w.EdRET, QStringLiteral("100"));
            CashWindowShop::click(w.BConfirma);
            QVERIFY(!w.isVisible());
        });
        openCierreCaja(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("error")).last(), cash::closedElsewhereMessage());
        QCOMPARE(shop.count(QStringLiteral("CAJAD")), 1);
        QCOMPARE(shop.count(QStringLiteral("CAJA")), 0);
        QVERIFY(QDir(vx::paths::userFolder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    }
};

QTEST_MAIN(TestCierreCaja)
#include "tst_cierrecaja.moc"
