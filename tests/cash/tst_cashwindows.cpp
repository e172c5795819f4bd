#include "CashWindowShop.h"

#include "cash/AjCaja.h"
#include "cash/Caja.h"
#include "cash/CajaD.h"
#include "cash/CashClosing.h"
#include "cash/RetCaja.h"
#include "platform/ui/DBGrid.h"
#include "sales/SaleCancellation.h"

#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>

// The cash windows as the operator uses them: keys typed into the boxes, buttons clicked, the
// printouts read back from their PDF files.
class TestCashWindows : public QObject {
    Q_OBJECT

    static QString today() { return vx::shopformat::formatDate(QDate::currentDate()); }

    // The amounts the report prints in its amount column, by rows of the cash book.
    static int rowsPrinted(const QString &text, const QString &remark)
    {
        return int(text.count(remark));
    }

private slots:
    // The adjustment window: "-" refused, an empty amount asked for, "RETIRA" 150 lowers the cash.
    void adjustments()
    {
        CashWindowShop shop;
        shop.sell(500);
        const auto adjust = [&](bool in, const QString &amount, const QString &remark) {
            shop.onWindow<TFAjCaja>([&](TFAjCaja &w) {
                QRadioButton *direction = in ? w.RB1 : w.RB2;
                QTest::mouseClick(direction, Qt::LeftButton, {}, QPoint(8, direction->height() / 2));
                CashWindowShop::type(w.EdImp, amount);
                CashWindowShop::type(w.EdCon, remark);
                CashWindowShop::click(w.BGrabar);
                if (w.isVisible())
                    QTest::keyClick(&w, Qt::Key_Escape);
            });
            openAjCaja(nullptr);
        };
        adjust(false, QStringLiteral("-150"), QStringLiteral("menos"));
        adjust(false, QString(), QStringLiteral("nada"));
        QCOMPARE(shop.dialogs.texts(QStringLiteral("error")), QStringList{QStringLiteral("El importe debe ser positivo.")});
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Debe ingresar el importe...")});
        adjust(false, QStringLiteral("150"), QStringLiteral("cambio"));
        adjust(true, QStringLiteral("20.5"), QStringLiteral("fondo"));
        QCOMPARE(shop.count(QStringLiteral("CAJA"), QStringLiteral("CAJMOV = 'J'")), 2);
        QCOMPARE(db(shop, "SELECT CAJCON FROM CAJA WHERE CAJIMP < 0").toString(), QStringLiteral("AJUSTE en CAJA/ CAMBIO"));
        QCOMPARE(cash::readCashFigures(shop.db()).cashCents, 50000 - 15000 + 2050);

        // The card clean-up over days without card rows deletes nothing and says it is done.
        shop.sell(80, 0, 80);
        shop.onWindow<TFAjCaja>([&](TFAjCaja &w) {
            CashWindowShop::type(w.EdDesF, QStringLiteral("1/1/2020"));
            CashWindowShop::type(w.EdHasF, QStringLiteral("2/1/2020"));
            CashWindowShop::click(w.BEliminar);
        });
        openAjCaja(nullptr);
        QCOMPARE(shop.count(QStringLiteral("CAJA"), QStringLiteral("CAJTIP = 'TT'")), 1);
        shop.onWindow<TFAjCaja>([&](TFAjCaja &w) {
            CashWindowShop::click(w.BEliminar); // both days empty: today
            QCOMPARE(w.EdDesF->text(), today());
        });
        openAjCaja(nullptr);
        QCOMPARE(shop.count(QStringLiteral("CAJA"), QStringLiteral("CAJTIP = 'TT'")), 0);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")).count(QStringLiteral("Proceso Terminado.")), 4);
    }

    // "Caja del Dia": figures, "Actualizar Saldos" recomputing both totals, the A4 report and
    // the ticket listing the rows and printing their totals.
    void cashOfTheDay()
    {
        CashWindowShop shop;
        shop.cashRow(QStringLiteral("S"), QString(), 1000);
        shop.sell(100, 50, 50);
        const int refunded = shop.sell(30);
        sales::cancelSale(shop.db(), {double(refunded), QDate::currentDate(), true, 1, -1});
        shop.cashRow(QStringLiteral("E"), QStringLiteral("TT"), -70); // a supplier paid by card
        QString a4;
        QString ticket;
        shop.onWindow<TFCajaD>([&](TFCajaD &w) {
            QCOMPARE(w.EdDesF->text(), QStringLiteral(" Fecha: ") + today());
            QCOMPARE(w.EdSaldoIni->text(), QStringLiteral("1000,00"));
            QCOMPARE(w.EdEFEDia->text(), QStringLiteral("50,00"));
            QCOMPARE(w.EdSaldoHoy->text(), QStringLiteral("1050,00"));
            QCOMPARE(w.EdTar->text(), QStringLiteral("50,00"));
            QCOMPARE(w.book().recordCount(), 6);
            // Another counter sells meanwhile: the window shows it once asked to.
            shop.sell(40, 0, 40);
            shop.sell(9.99);
            CashWindowShop::click(w.BActualizarSdos);
            QCOMPARE(w.EdEFEDia->text(), QStringLiteral("59,99"));
            QCOMPARE(w.EdTar->text(), QStringLiteral("90,00"));
            QCOMPARE(w.book().recordCount(), 8);
            a4 = shop.nextPdf(QStringLiteral("a4"));
            CashWindowShop::click(w.BImp);
            ticket = shop.nextPdf(QStringLiteral("ticket"));
            CashWindowShop::click(w.BImp2);
            // Title sort: a click sorts by the amount, the title turns bold.
            QTest::mouseClick(w.DBGrid1->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(w.DBGrid1->horizontalHeader()->sectionViewportPosition(3) + 5, 5));
            QCOMPARE(w.book().sort(), QStringLiteral("CAJIMP ASC"));
            QVERIFY(w.DBGrid1->titleBold(3));
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        openCajaD(nullptr);
        QCOMPARE(shop.shownWindows, QStringList{QStringLiteral("FCajaD")});

        const QString printed = CashWindowShop::pdfText(a4);
        QVERIFY2(printed.contains(QRegularExpression(QStringLiteral("Consulta de Caja\\s+Fecha: ") + today())),
                 qPrintable(printed));
        QCOMPARE(rowsPrinted(printed, QStringLiteral("Por Venta Nro.")), 5);
        QCOMPARE(rowsPrinted(printed, QStringLiteral("Por ANULACION de Comprob.")), 1);
        QVERIFY(printed.contains(QStringLiteral("-30,00")) || printed.contains(QStringLiteral("-30.00")));
        QVERIFY(printed.contains(QRegularExpression(QStringLiteral("EFECTIVO EN CAJA:\\s+1059[,.]99"))));
        QVERIFY(printed.contains(QRegularExpression(QStringLiteral("TARJETAS EN CAJA:\\s+90[,.]00"))));
        const QString tkt = CashWindowShop::pdfText(ticket);
        QVERIFY2(tkt.contains(QRegularExpression(QStringLiteral("EFECTIVO EN CAJA:\\s+1059[,.]99"))), qPrintable(tkt));
        QVERIFY(tkt.contains(QRegularExpression(QStringLiteral("TARJETAS EN CAJA:\\s+90[,.]00"))));
        QVERIFY(tkt.contains(QStringLiteral("I/E-MP")));
    }

    // An empty cash book and a thousand rows of 0,10: 0,00 and 100,00 everywhere.
    void emptyAndManySmallRows()
    {
        CashWindowShop shop;
        QString empty;
        shop.onWindow<TFCajaD>([&](TFCajaD &w) {
            QCOMPARE(w.EdSaldoHoy->text(), QStringLiteral("0,00"));
            empty = shop.nextPdf(QStringLiteral("vacio"));
            CashWindowShop::click(w.BImp);
        });
        openCajaD(nullptr);
        QVERIFY(CashWindowShop::pdfText(empty).contains(QRegularExpression(QStringLiteral("EFECTIVO EN CAJA:\\s+0[,.]00"))));

        for (int i = 0; i < 1000; ++i)
            shop.cashRow(QStringLiteral("J"), QStringLiteral("EF"), 0.10);
        QString many;
        shop.onWindow<TFCajaD>([&](TFCajaD &w) {
            QCOMPARE(w.EdEFEDia->text(), QStringLiteral("100,00"));
            many = shop.nextPdf(QStringLiteral("mil"));
            CashWindowShop::click(w.BImp);
        });
        openCajaD(nullptr);
        const QString printed = CashWindowShop::pdfText(many);
        QCOMPARE(rowsPrinted(printed, QStringLiteral("FILA")), 1000);
        QVERIFY(printed.contains(QRegularExpression(QStringLiteral("EFECTIVO EN CAJA:\\s+100[,.]00"))));
        shop.onWindow<TFCaja>([&](TFCaja &w) {
            QCOMPARE(w.EdEfect->text(), QStringLiteral("100,00"));
            CashWindowShop::click(w.BConsultar);
            QCOMPARE(w.EdEfePer->text(), QStringLiteral("100,00"));
        });
        openCaja(nullptr);
    }

    // "RESUMEN DE CAJA": rows written in the days typed, the last day whole; a "hasta" before the
    // "desde" is said and finds nothing.
    void summaryByDates()
    {
        CashWindowShop shop;
        const QDate day = QDate::currentDate();
        shop.cashRow(QStringLiteral("I"), QStringLiteral("EF"), 10, day.addDays(-10));
        shop.cashRow(QStringLiteral("I"), QStringLiteral("EF"), 20, day.addDays(-2));
        shop.cashRow(QStringLiteral("I"), QStringLiteral("TT"), 5, day.addDays(-2));
        data::RowInserter(shop.db(), QStringLiteral("CAJA"),
                          {QStringLiteral("CAJMOV"), QStringLiteral("CAJTIP"), QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC")})
            .insert({QStringLiteral("J"), QStringLiteral("EF"), -3.0, vx::naiveDateTime(day.addDays(-1), QTime(18, 30))});
        shop.onWindow<TFCaja>([&](TFCaja &w) {
            QCOMPARE(w.EdEfect->text(), QStringLiteral("27,00"));
            QCOMPARE(w.EdTarj->text(), QStringLiteral("5,00"));
            CashWindowShop::type(w.EdDesF, vx::shopformat::formatDate(day.addDays(-3)));
            CashWindowShop::type(w.EdHasF, vx::shopformat::formatDate(day.addDays(-1)));
            CashWindowShop::click(w.BConsultar);
            QCOMPARE(w.EdEfePer->text(), QStringLiteral("17,00"));
            QCOMPARE(w.Edit1->text(), QStringLiteral("5,00"));
            QCOMPARE(w.book().recordCount(), 3);
            CashWindowShop::type(w.EdHasF, vx::shopformat::formatDate(day.addDays(-5)));
            CashWindowShop::click(w.BConsultar);
            QCOMPARE(w.book().recordCount(), 0);
            QCOMPARE(w.EdEfePer->text(), QStringLiteral("0,00"));
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        openCaja(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("error")).count(QStringLiteral("La fecha HASTA debe ser mayor que la fecha DESDE.")), 1);
    }

    // "Retiros por Cierres de Caja" totals the closings of the days, not central-cash payments.
    void closingHistory()
    {
        CashWindowShop shop;
        shop.sell(100);
        cash::ClosingRequest request;
        request.closingDate = QDate::currentDate();
        request.withdrawalCents = 6000;
        request.openingCents = 4000;
        request.openingDate = QDate::currentDate();
        request.figures = cash::readCashFigures(shop.db());
        cash::closeCash(shop.db(), request);
        data::RowInserter(shop.db(), QStringLiteral("CAJAD"),
                          {QStringLiteral("CAJMOV"), QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"), QStringLiteral("CAJSAL")})
            .insert({QStringLiteral("E"), -25.0, vx::naiveDateTime(QDate::currentDate()), vx::naiveDateTime(QDate::currentDate())});
        shop.onWindow<TFRetCaja>([&](TFRetCaja &w) {
            QCOMPARE(w.history().recordCount(), 2);
            CashWindowShop::click(w.BConsultar);
            QCOMPARE(w.EdDes->text(), today());
            QCOMPARE(w.EdTot->text(), QStringLiteral("60,00"));
            QCOMPARE(w.history().recordCount(), 1);
            CashWindowShop::type(w.EdDes, QStringLiteral("1/1/2020"));
            CashWindowShop::type(w.EdHas, QStringLiteral("31/12/2020"));
            CashWindowShop::click(w.BConsultar);
            QCOMPARE(w.EdTot->text(), QStringLiteral("0,00"));
        });
        openRetCaja(nullptr);
        QCOMPARE(shop.shownWindows, QStringList{QStringLiteral("FRetCaja")});
    }

private:
    static QVariant db(CashWindowShop &shop, const char *sql) { return shop.db().scalar(QString::fromLatin1(sql)); }
};

QTEST_MAIN(TestCashWindows)
#include "tst_cashwindows.moc"
