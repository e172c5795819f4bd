// The sale as a cashier works it, with keys and the mouse on the real windows, and the rows it
// leaves: a discount typed and recorded at once, a line taken back, a sale abandoned with
// "&Cerrar", the customer of the next sale, a receipt number typed twice and cancelled, a sale
// paid by card and cash cancelled, "&Agregar" after a short code, and the windows reopened.
#include "VentasShop.h"

#include "platform/report/CurrentPrinter.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBText.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "sales/Anula.h"
#include "sales/Cobro.h"
#include "sales/ImpComp.h"
#include "sales/ImpTF.h"
#include "sales/Ventas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString remera = QStringLiteral("7790000000011");
const QString pantalon = QStringLiteral("7790000000028");

}  // namespace

class TestVentasCounter : public QObject {
    Q_OBJECT

    std::unique_ptr<VentasShop> shop;
    std::unique_ptr<vx::ui::FakeDialogs> dialogs;
    std::unique_ptr<TFVentas> w;

    // A shop with three articles (remera 100, pantalon 50, medias 12 under a short code) and
    // receipt 41 recorded; the sales window open on it, as the menu command opens it.
    void openShop()
    {
        shop = std::make_unique<VentasShop>();
        shop->addArticle(remera, QStringLiteral("REMERA AZUL"), QStringLiteral("RA-1"), 10, 100);
        shop->addArticle(pantalon, QStringLiteral("PANTALON NEGRO"), QStringLiteral("PN-2"), 5, 50);
        shop->addArticle(QStringLiteral("0000000000123"), QStringLiteral("MEDIAS"), QStringLiteral("M-3"), 8, 12);
        shop->addReceipt(41, QStringLiteral("1B"));
        dialogs = std::make_unique<vx::ui::FakeDialogs>();
        w = std::make_unique<TFVentas>();
        openWindow();
    }

    void openWindow()
    {
        QVERIFY(w->prepareOpening());
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    // Into a box with the mouse, its old text replaced by what is typed.
    static void typeInto(QLineEdit *box, const QString &text)
    {
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    double number(const QString &sql, const QVariantList &params = {})
    {
        return shop->db().scalar(sql, params).toDouble();
    }
    double stockOf(const QString &code)
    {
        return number(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {code});
    }
    QVariant yes() { return shop->db().dialect().toDatabase(true, vx::FieldType::Boolean); }

    // The stored sale adds up: its lines at their charged price make the header's total, which
    // is what came into the cash book.
    void verifySaleAddsUp(int receipt, double subtotal, double total)
    {
        QCOMPARE(number(QStringLiteral("SELECT COMSUB FROM CLICOM WHERE COMNRO = ?"), {receipt}), subtotal);
        QCOMPARE(number(QStringLiteral("SELECT COMTOT FROM CLICOM WHERE COMNRO = ?"), {receipt}), total);
        QCOMPARE(number(QStringLiteral("SELECT SUM(ITECAN * ITEPRE) FROM ITECLI WHERE ITECOM = ?"), {receipt}), total);
        QCOMPARE(number(QStringLiteral("SELECT SUM(ITECAN * ITEEDI) FROM ITECLI WHERE ITECOM = ?"), {receipt}),
                 subtotal);
        QCOMPARE(number(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJCOM = ?"), {QString::number(receipt)}),
                 total);
    }

    // The cancellation window through its command; `inside` runs while it is shown.
    void inAnula(const std::function<void(TFAnula &)> &inside)
    {
        auto previous = dialogs->onModal;
        dialogs->onModal = [&inside](QDialog *dialog) {
            auto *anula = qobject_cast<TFAnula *>(dialog);
            if (!anula)
                return int(QDialog::Rejected);
            anula->show();
            if (QTest::qWaitForWindowActive(anula))
                inside(*anula);
            anula->BCerrar->click();
            return int(QDialog::Accepted);
        };
        TFAnula window;
        openAnula(window);
        dialogs->onModal = previous;
    }

    static void clickRow(vx::ui::DBGrid *grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

private slots:
    void cleanup()
    {
        vx::report::setCurrentPrinterFactory({});
        w.reset();
        dialogs.reset();
        shop.reset();
    }

    // Two remeras and a pantalon (250), 10 % typed into "% Porc."; then F9 at once, or Enter
    // first. The header, the lines, the cash book and the printed ticket all say 225.
    void discountTypedThenRecorded_data()
    {
        QTest::addColumn<bool>("enterFirst");
        QTest::newRow("F9 without leaving the box") << false;
        QTest::newRow("Enter, then F9") << true;
    }
    void discountTypedThenRecorded()
    {
        QFETCH(bool, enterFirst);
        openShop();
        QTemporaryDir folder;
        const QString printed = folder.filePath(QStringLiteral("ticket.pdf"));
        vx::report::setCurrentPrinterFactory(vx::report::pdfPrinterFactory(printed));
        dialogs->onModal = [](QDialog *dialog) {
            if (auto *choice = qobject_cast<TFImpTF *>(dialog))
                choice->BTicket->click();
            return 0;
        };
        QTest::keyClicks(w->EdCan, QStringLiteral("2"));
        QTest::keyClicks(w->CBCod, remera);
        QTest::keyClicks(w->CBCod, pantalon);
        typeInto(w->EdPor, QStringLiteral("10"));
        if (enterFirst) {
            press(Qt::Key_Return);
            QCOMPARE(w->EdDcto->text(), QStringLiteral("25,00"));
            QCOMPARE(w->EdTOT->text(), QStringLiteral("225,00"));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdPor));
        }
        dialogs->confirmAnswers.enqueue(true);
        press(Qt::Key_F9);

        verifySaleAddsUp(42, 250, 225);
        QCOMPARE(number(QStringLiteral("SELECT COMPOR FROM CLICOM WHERE COMNRO = 42")), 10.0);
        QCOMPARE(number(QStringLiteral("SELECT SUM(EGRVTA1 * EGRCAN1) FROM EGRESOS")), 225.0);

        QProcess reader;
        reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), printed, QStringLiteral("-")});
        QVERIFY(reader.waitForFinished(30000));
        const QString ticket = QString::fromUtf8(reader.readAllStandardOutput());
        QVERIFY2(ticket.contains(QStringLiteral("25,00")) && ticket.contains(QStringLiteral("225,00")),
                 qPrintable(ticket));
        // The next sale starts without the discount.
        QTest::keyClicks(w->CBCod, pantalon);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("50,00"));
    }

    // A line taken back by double click and F9 pressed before adding it again: the line goes back
    // into the sale, with the quantity the operator changed it to.
    void lineTakenBackThenRecorded_data()
    {
        QTest::addColumn<QString>("newQuantity");
        QTest::addColumn<double>("sold");
        QTest::newRow("quantity untouched") << QString() << 1.0;
        QTest::newRow("quantity changed") << QStringLiteral("3") << 3.0;
    }
    void lineTakenBackThenRecorded()
    {
        QFETCH(QString, newQuantity);
        QFETCH(double, sold);
        openShop();
        QTest::keyClicks(w->CBCod, remera);
        QTest::keyClicks(w->CBCod, pantalon);
        const QRect first = w->DBGrid1->visualRect(w->DBGrid1->model()->index(0, 0));
        QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);
        if (!newQuantity.isEmpty())
            typeInto(w->EdCan, newQuantity);
        press(Qt::Key_F9);

        QCOMPARE(shop->count(QStringLiteral("ITECLI"), QStringLiteral("ITECOM = 42")), 2);
        QCOMPARE(shop->count(QStringLiteral("EGRESOS"), QStringLiteral("EGRNRO = 42")), 2);
        QCOMPARE(shop->count(QStringLiteral("MOVIM"), QStringLiteral("MOVNRO = 42")), 2);
        QCOMPARE(stockOf(remera), 10 - sold);
        QCOMPARE(stockOf(pantalon), 4.0);
        verifySaleAddsUp(42, 50 + 100 * sold, 50 + 100 * sold);
        QVERIFY(dialogs->texts(QStringLiteral("error")).isEmpty());
    }

    // A sale abandoned with "&Cerrar" (discount and cash entered) leaves nothing for the next
    // customer; a named customer's sale leaves the next one to a walk-in buyer.
    void nextSaleStartsFresh()
    {
        openShop();
        shop->db().execute(QStringLiteral("INSERT INTO CLIENTE (CLICOD, CLIAPE, CLIIVA) VALUES (12, 'PEREZ JUAN', "
                                          "'RESP. INSCRIPTO')"));
        QTest::keyClicks(w->CBCod, remera);
        typeInto(w->EdPor, QStringLiteral("10"));
        press(Qt::Key_Return);
        typeInto(w->EdEFE, QStringLiteral("500"));
        QTest::mouseClick(w->BCerrar, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        w->finishClosing();

        openWindow();
        for (QLineEdit *box : {w->EdSTot, w->EdPor, w->EdDcto, w->EdTotal, w->EdEFE, w->EdTar, w->EdVTO})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName() + QLatin1Char('=') + box->text()));
        QCOMPARE(w->EdTOT->text(), QStringLiteral("0"));

        // PEREZ JUAN buys the pantalon at full price; the next buyer is nobody in particular.
        QTest::mouseClick(w->CBCliente->lineEdit(), Qt::LeftButton);
        w->CBCliente->lineEdit()->selectAll();
        QTest::keyClicks(w->CBCliente->lineEdit(), QStringLiteral("PEREZ JUAN"));
        QTest::keyClicks(w->CBCod, pantalon);
        press(Qt::Key_F9);
        QCOMPARE(w->CBCliente->currentText(), QStringLiteral("CONSUMIDOR FINAL"));
        QTest::keyClicks(w->CBCod, remera);
        press(Qt::Key_F9);

        verifySaleAddsUp(42, 50, 50);
        verifySaleAddsUp(43, 100, 100);
        const QString header = QStringLiteral("CLICOM");
        QCOMPARE(shop->count(header, QStringLiteral("COMNRO = 42 AND COMTIP = '1A' AND COMCLI = 12")), 1);
        QCOMPARE(shop->count(header, QStringLiteral("COMNRO = 43 AND COMTIP = '1B' AND COMCLI = 1")), 1);
        QCOMPARE(number(QStringLiteral("SELECT ITECLI FROM ITECLI WHERE ITECOM = 43")), 1.0);
    }

    // Receipt 42 recorded, then 42 typed again for another sale: the operator is asked first.
    // Each of the two is cancelled on its own: the one clicked in the grid, then the one typed.
    void typedDuplicateNumberCancelledOneByOne()
    {
        openShop();
        QTest::keyClicks(w->CBCod, remera);
        press(Qt::Key_F9);
        typeInto(w->EdNro, QStringLiteral("42"));
        QTest::keyClicks(w->EdCan, QStringLiteral("2"));
        QTest::keyClicks(w->CBCod, pantalon);
        const QString question = QStringLiteral("El comprobante 42 ya existe. ¿Graba otro con el mismo número?");
        press(Qt::Key_F9);
        QCOMPARE(dialogs->texts(QStringLiteral("confirm")).last(), question);
        QCOMPARE(shop->count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 42")), 1);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);
        dialogs->confirmAnswers.enqueue(true);
        press(Qt::Key_F9);
        QCOMPARE(shop->count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 42")), 2);
        QCOMPARE(stockOf(pantalon), 3.0);

        const QString voided = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?");
        inAnula([&](TFAnula &anula) {
            // Rows in table order: 41, the first 42, the second 42.
            clickRow(anula.DBGrid1, 2);
            QCOMPARE(anula.CBFactura->currentText(), QStringLiteral("42"));
            dialogs->confirmAnswers.append({true, true});
            QTest::mouseClick(anula.BAnular, Qt::LeftButton);
        });
        QCOMPARE(number(voided.arg(QStringLiteral("CLICOM"), QStringLiteral("COMANU")), {yes()}), 1.0);
        QCOMPARE(number(QStringLiteral("SELECT COMTOT FROM CLICOM WHERE COMANU = ?"), {yes()}), 100.0);
        QCOMPARE(number(voided.arg(QStringLiteral("ITECLI"), QStringLiteral("ITEANU")), {yes()}), 1.0);
        QCOMPARE(stockOf(pantalon), 5.0);
        QCOMPARE(stockOf(remera), 9.0);
        QCOMPARE(number(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJMOV = 'E'")), -100.0);

        inAnula([&](TFAnula &anula) {
            QTest::keyClicks(anula.CBFactura->lineEdit(), QStringLiteral("42"));
            dialogs->confirmAnswers.append({true, true});
            QTest::mouseClick(anula.BAnular, Qt::LeftButton);
        });
        QCOMPARE(number(voided.arg(QStringLiteral("CLICOM"), QStringLiteral("COMANU")), {yes()}), 2.0);
        QCOMPARE(number(voided.arg(QStringLiteral("ITECLI"), QStringLiteral("ITEANU")), {yes()}), 2.0);
        QCOMPARE(stockOf(remera), 10.0);
        QCOMPARE(shop->count(QStringLiteral("MOVIM"), QStringLiteral("MOVTIP = 'I'")), 2);
        QCOMPARE(number(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA")), 0.0);
        QVERIFY(!dialogs->texts(QStringLiteral("message")).contains(QStringLiteral("Comprobante Anulado.")));
    }

    // Two remeras (200): 80 in cash, 120 by card; then cancelled with the refund. Only the cash
    // goes back out of the cash; the card part depends on where the coupon stands.
    void cardAndCashSaleCancelled_data()
    {
        QTest::addColumn<QString>("couponState"); // after the sale; empty: removed from the portfolio
        QTest::addColumn<int>("couponsLeft");
        QTest::addColumn<double>("cardRefund");
        QTest::newRow("coupon pending: withdrawn") << QStringLiteral("P") << 0 << 0.0;
        QTest::newRow("coupon credited: card refund") << QStringLiteral("A") << 1 << -120.0;
        QTest::newRow("credited coupon cleared away") << QString() << 0 << -120.0;
    }
    void cardAndCashSaleCancelled()
    {
        QFETCH(QString, couponState);
        QFETCH(int, couponsLeft);
        QFETCH(double, cardRefund);
        openShop();
        shop->db().execute(QStringLiteral("INSERT INTO TARJETAS (TARNOM, TARCOD, TARDIA) VALUES ('VISA', 1, 30)"));
        QTest::keyClicks(w->EdCan, QStringLiteral("2"));
        QTest::keyClicks(w->CBCod, remera);
        typeInto(w->EdEFE, QStringLiteral("80"));
        dialogs->onModal = [](QDialog *dialog) {
            auto *cobro = qobject_cast<TFCobro *>(dialog);
            if (!cobro)
                return int(QDialog::Rejected);
            cobro->show();
            QTest::keyClicks(cobro->CBTarj->lineEdit(), QStringLiteral("VISA"));
            QTest::keyClicks(cobro->EdCupon, QStringLiteral("5501"));
            QTest::mouseClick(cobro->BBConfirmar, Qt::LeftButton);
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(w->Button2, Qt::LeftButton);
        QCOMPARE(w->EdTar->text(), QStringLiteral("120,00"));
        dialogs->onModal = {};
        press(Qt::Key_F9);
        QCOMPARE(number(QStringLiteral("SELECT CAJIMP FROM CAJA WHERE CAJTIP = 'EF'")), 80.0);
        QCOMPARE(number(QStringLiteral("SELECT CAJIMP FROM CAJA WHERE CAJTIP = 'TT'")), 120.0);
        if (couponState.isEmpty())
            shop->db().execute(QStringLiteral("DELETE FROM CUPONES"));
        else
            shop->db().execute(QStringLiteral("UPDATE CUPONES SET CUPEST = ?"), {couponState});

        inAnula([&](TFAnula &anula) {
            QTest::keyClicks(anula.CBFactura->lineEdit(), QStringLiteral("42"));
            dialogs->confirmAnswers.append({true, true});
            QTest::mouseClick(anula.BAnular, Qt::LeftButton);
        });
        QCOMPARE(dialogs->texts(QStringLiteral("message")).last(), QStringLiteral("Proceso Terminado."));
        QCOMPARE(number(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJMOV = 'E' AND CAJTIP = 'EF'")), -80.0);
        QCOMPARE(number(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJMOV = 'E' AND CAJTIP = 'TT'")),
                 cardRefund);
        QCOMPARE(shop->count(QStringLiteral("CUPONES")), couponsLeft);
        if (couponsLeft > 0)
            QCOMPARE(shop->db().scalar(QStringLiteral("SELECT CUPEST FROM CUPONES")).toString(), couponState);
        // The till holds what it held before the sale.
        QCOMPARE(number(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJTIP = 'EF'")), 0.0);
    }

    // A short own code typed and "&Agregar" clicked: one line, no message.
    void addButtonAfterShortCode_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Agregar beside the code") << QStringLiteral("BAgregar");
        QTest::newRow("Agregar beside the origin code") << QStringLiteral("BAgregar2");
    }
    void addButtonAfterShortCode()
    {
        QFETCH(QString, button);
        openShop();
        QTest::keyClicks(w->CBCod, QStringLiteral("123"));
        QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("12,00"));
        QVERIFY2(dialogs->shown.isEmpty(), qPrintable(dialogs->shown.value(0).text));
        // The next click with nothing typed still says what is missing.
        QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{QStringLiteral("Falta Codigo de articulo...")});
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);
    }

    // The reprint and cancellation windows open with nothing chosen, whatever was chosen before.
    void windowsReopenEmpty()
    {
        openShop();
        QTest::keyClicks(w->CBCod, remera);
        typeInto(w->EdPor, QStringLiteral("10"));
        press(Qt::Key_F9);
        w->hide();

        QStringList seen;
        dialogs->onModal = [&seen](QDialog *dialog) {
            auto *reprint = qobject_cast<TFImpComp *>(dialog);
            if (!reprint)
                return int(QDialog::Rejected);
            seen << reprint->Edit1->text() + QLatin1Char('|') + reprint->DBTextTotal->text();
            QTest::keyClicks(reprint->CBComp->lineEdit(), QStringLiteral("42"));
            QTest::keyClick(reprint->CBComp->lineEdit(), Qt::Key_Return);
            seen << reprint->Edit1->text() + QLatin1Char('|') + reprint->DBTextTotal->text();
            QTest::keyClick(reprint, Qt::Key_Escape);
            return int(QDialog::Rejected);
        };
        TFImpComp reprint;
        openImpComp(reprint);
        openImpComp(reprint);
        QCOMPARE(seen, (QStringList{QStringLiteral("|"), QStringLiteral("10,00|90,00"), QStringLiteral("|"),
                                    QStringLiteral("10,00|90,00")}));

        QStringList typed;
        dialogs->onModal = {};
        inAnula([&typed](TFAnula &anula) {
            typed << anula.CBFactura->currentText();
            QTest::keyClicks(anula.CBFactura->lineEdit(), QStringLiteral("42"));
        });
        inAnula([&typed](TFAnula &anula) { typed << anula.CBFactura->currentText(); });
        QCOMPARE(typed, (QStringList{QString(), QString()}));
    }
};

QTEST_MAIN(TestVentasCounter)
#include "tst_ventas_counter.moc"
