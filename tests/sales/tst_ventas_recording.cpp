// The sales window around a recording: what it hands over, the print offer, the reset for the next
// sale, a failure closing the window, the card tender, and a sale driven by keyboard alone
// through the real main window.
#include "VentasShop.h"
#include "../platform/ReportPdfReader.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "platform/report/CurrentPrinter.h"
#include "sales/Cobro.h"
#include "sales/ImpTF.h"
#include "sales/Ventas.h"
#include "shell/Ficha1.h"
#include "shell/Password.h"
#include "shell/Startup.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString remera = QStringLiteral("7790000000011");
const QString pantalon = QStringLiteral("7790000000028");

}  // namespace

class TestVentasRecording : public QObject {
    Q_OBJECT

    std::unique_ptr<VentasShop> shop;
    std::unique_ptr<vx::ui::FakeDialogs> dialogs;
    std::unique_ptr<TFVentas> w;

    void addArticles()
    {
        shop->addArticle(remera, QStringLiteral("REMERA AZUL"), QStringLiteral("RA-1"), 10, 100, 90, 80, 70);
        shop->addArticle(pantalon, QStringLiteral("PANTALON NEGRO"), QStringLiteral("PN-2"), 5, 50, 45, 40, 35);
    }

    void openWindow()
    {
        shop = std::make_unique<VentasShop>();
        addArticles();
        shop->addReceipt(41, QStringLiteral("1B"));
        dialogs = std::make_unique<vx::ui::FakeDialogs>();
        w = std::make_unique<TFVentas>();
        QVERIFY(w->prepareOpening());
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    // As the operator does: into the box (its old amount selected), then the new amount.
    void enterAmount(QLineEdit *box, const QString &amount)
    {
        box->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClicks(box, amount);
    }

    double stockOf(const QString &code)
    {
        return shop->db().scalar(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {code}).toDouble();
    }

    double cash(const QString &type)
    {
        return shop->db()
            .scalar(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJTIP = ?"), {type})
            .toDouble();
    }

private slots:
    void cleanup()
    {
        w.reset();
        dialogs.reset();
        shop.reset();
    }

    void recordingWithoutTenderTakesTheTotalInCash()
    {
        openWindow();
        QTest::keyClicks(w->CBCod, remera);
        // A line another workstation writes meanwhile is not part of this sale.
        const std::unique_ptr<vx::Connection> other = shop->db().openAnother();
        other->execute(QStringLiteral("INSERT INTO TMP1 (TM1CHR1, TM1NUM1, TM1PRE1, TM1PRE2) "
                                      "VALUES ('9999999999999', 1, 999, 999)"));
        QTest::keyClicks(w->EdCan, QStringLiteral("2"));
        QTest::keyClicks(w->CBCod, pantalon);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("200,00"));
        QTest::keyClick(w->CBCod, Qt::Key_F9);

        QCOMPARE(dialogs->texts(QStringLiteral("confirm")),
                 QStringList{QStringLiteral("Proceso Terminado. Imprime Comprobante?")});
        QCOMPARE(shop->count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 42")), 1);
        QCOMPARE(shop->count(QStringLiteral("EGRESOS")), 2);
        QCOMPARE(shop->count(QStringLiteral("ITECLI")), 2);
        QCOMPARE(shop->count(QStringLiteral("CAJA")), 1);
        QCOMPARE(cash(QStringLiteral("EF")), 200.0);
        QCOMPARE(stockOf(remera), 9.0);
        QCOMPARE(stockOf(pantalon), 3.0);

        // Ready for the next sale.
        QCOMPARE(w->EdNro->text(), QString());
        QCOMPARE(w->EdTOT->text(), QStringLiteral("0"));
        QCOMPARE(w->DBGrid1->model()->rowCount(), 0);
        QCOMPARE(shop->count(QStringLiteral("TMP1")), 0);
        QCOMPARE(other->scalar(QStringLiteral("SELECT COUNT(*) FROM TMP1")).toInt(), 1);
        QVERIFY(w->isVisible());
        QVERIFY(w->entryArmed());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->CBCod));

        // The next sale, with no number in the box, takes the next free one; Escape on "F9 Grabar"
        // records nothing, a key typed on it records.
        QTest::keyClicks(w->CBCod, remera);
        QTest::keyClick(w->BBGrabar, Qt::Key_Escape);
        QCOMPARE(shop->count(QStringLiteral("CLICOM")), 2);
        QTest::keyClick(w->BBGrabar, Qt::Key_Return);
        QCOMPARE(shop->count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 43")), 1);
    }

    void tenderAndDiscountReachTheRecording()
    {
        openWindow();
        QTest::keyClicks(w->EdCan, QStringLiteral("2"));
        QTest::keyClicks(w->CBCod, remera);
        w->EdPor->setText(QStringLiteral("10"));
        w->EdPorExit();
        enterAmount(w->EdEFE, QStringLiteral("200"));
        QCOMPARE(w->EdVTO->text(), QStringLiteral("20,00"));
        w->BBGrabar->click();
        QCOMPARE(cash(QStringLiteral("EF")), 180.0);
        QCOMPARE(shop->db().scalar(QStringLiteral("SELECT COMTOT FROM CLICOM WHERE COMNRO = 42")).toDouble(), 180.0);
        QCOMPARE(shop->db().scalar(QStringLiteral("SELECT ITEPRE FROM ITECLI")).toDouble(), 90.0);
        // The percentage is gone once the sale is recorded.
        QTest::keyClicks(w->CBCod, remera);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("100,00"));
    }

    // Yes to the print offer prints the sale still on screen, then clears the window; a printer
    // that fails is reported and the sale stays recorded.
    void recordedSalePrintsItsTicketFromTheLinesOnScreen()
    {
        openWindow();
        QTemporaryDir folder;
        const QString printed = folder.filePath(QStringLiteral("ticket.pdf"));
        vx::report::setCurrentPrinterFactory(vx::report::pdfPrinterFactory(printed));
        dialogs->confirmAnswers.enqueue(true);
        dialogs->onModal = [](QDialog *dialog) {
            if (auto *choice = qobject_cast<TFImpTF *>(dialog))
                choice->BTicket->click();
            return 0;
        };
        QTest::keyClicks(w->EdCan, QStringLiteral("2"));
        QTest::keyClicks(w->CBCod, remera);
        QTest::keyClicks(w->CBCod, pantalon);
        QTest::keyClick(w->CBCod, Qt::Key_F9);
        vx::report::setCurrentPrinterFactory({});

        const QString page = pdf::pages(printed).join(QLatin1Char('\f'));
        QVERIFY2(page.contains(QStringLiteral("REMERA AZUL")) && page.contains(QStringLiteral("PANTALON NEGRO")),
                 qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("Tkt: 42")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("250,00")), qPrintable(page));
        QCOMPARE(w->DBGrid1->model()->rowCount(), 0);
        QCOMPARE(shop->count(QStringLiteral("TMP1")), 0);

        // The next sale's printer cannot write: the operator is told, the sale is kept.
        const QString nowhere = folder.filePath(QStringLiteral("missing/ticket.pdf"));
        vx::report::setCurrentPrinterFactory(vx::report::pdfPrinterFactory(nowhere));
        dialogs->confirmAnswers.enqueue(true);
        QTest::keyClicks(w->CBCod, remera);
        QTest::keyClick(w->CBCod, Qt::Key_F9);
        vx::report::setCurrentPrinterFactory({});
        QVERIFY(!QFile::exists(nowhere));
        QCOMPARE(dialogs->texts(QStringLiteral("error")).size(), 1);
        QCOMPARE(shop->count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 43")), 1);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 0);
        QVERIFY(w->isVisible());
    }

    void numberTakenMeanwhileIsReported()
    {
        openWindow();
        QCOMPARE(w->EdNro->text(), QStringLiteral("42"));
        // Another workstation records 42 while this sale is composed.
        shop->addReceipt(42, QStringLiteral("1B"));
        QTest::keyClicks(w->CBCod, remera);
        QTest::keyClick(w->CBCod, Qt::Key_F9);
        const QStringList told = dialogs->texts(QStringLiteral("information"));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains(QStringLiteral("43")), qPrintable(told[0]));
        QCOMPARE(shop->count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 43")), 1);
        QCOMPARE(shop->count(QStringLiteral("ITECLI"), QStringLiteral("ITECOM = 43")), 1);
    }

    void failedRecordingStoresNothingAndClosesTheWindow()
    {
        openWindow();
        QTest::keyClicks(w->CBCod, remera);
        w->EdNro->setText(QStringLiteral("4X"));
        QTest::keyClick(w->CBCod, Qt::Key_F9);
        QCOMPARE(dialogs->texts(QStringLiteral("error")),
                 QStringList{QStringLiteral("No se pudo completar el proceso. Reingrese la transacción")});
        QVERIFY(dialogs->texts(QStringLiteral("confirm")).isEmpty());
        QVERIFY(!w->isVisible());
        QCOMPARE(shop->count(QStringLiteral("CLICOM")), 1);
        QCOMPARE(shop->count(QStringLiteral("EGRESOS")), 0);
        QCOMPARE(shop->count(QStringLiteral("CAJA")), 0);
        QCOMPARE(shop->count(QStringLiteral("TMP1")), 0);
        QCOMPARE(stockOf(remera), 10.0);
    }

    void amountThatIsNoNumberIsReportedBeforeAnythingIsWritten()
    {
        openWindow();
        QTest::keyClicks(w->CBCod, remera);
        w->EdEFE->setText(QStringLiteral("1,,5"));
        w->BGrabar->click();
        QCOMPARE(dialogs->texts(QStringLiteral("error")).size(), 1);
        QVERIFY(w->isVisible());
        QCOMPARE(shop->count(QStringLiteral("CLICOM")), 1);
        QCOMPARE(shop->count(QStringLiteral("TMP1")), 1);
    }

    void cardTenderFillsTheCardBox()
    {
        openWindow();
        data::RowInserter(shop->db(), QStringLiteral("TARJETAS"),
                          {QStringLiteral("TARNOM"), QStringLiteral("TARCOD"), QStringLiteral("TARDIA")})
            .insert({QStringLiteral("VISA"), 1, 30});
        QTest::keyClicks(w->EdCan, QStringLiteral("2"));
        QTest::keyClicks(w->CBCod, remera);
        w->EdPor->setText(QStringLiteral("10"));
        w->EdPorExit();
        enterAmount(w->EdEFE, QStringLiteral("80"));
        QString proposed;
        dialogs->onModal = [&proposed](QDialog *dialog) {
            auto *cobro = qobject_cast<TFCobro *>(dialog);
            if (!cobro)
                return int(QDialog::Rejected);
            proposed = cobro->EdImp->text();
            cobro->CBTarj->setCurrentText(QStringLiteral("VISA"));
            cobro->EdCupon->setText(QStringLiteral("5501"));
            cobro->BBConfirmar->click();
            return int(QDialog::Accepted);
        };
        w->Button2->click();
        QCOMPARE(proposed, QStringLiteral("100,00"));
        QCOMPARE(w->EdTar->text(), QStringLiteral("100,00"));
        QCOMPARE(w->EdVTO->text(), QStringLiteral("0,00"));
        QCOMPARE(w->couponIds().size(), 1);

        w->BGrabar->click();
        QCOMPARE(cash(QStringLiteral("EF")), 80.0);
        QCOMPARE(cash(QStringLiteral("TT")), 100.0);
        QCOMPARE(shop->db().scalar(QStringLiteral("SELECT CUPCOM FROM CUPONES")).toString(), QStringLiteral("42"));
        QVERIFY(w->couponIds().isEmpty());
    }

    void keyboardOnlySaleThroughTheMainWindow()
    {
        shop = std::make_unique<VentasShop>();
        addArticles();
        dialogs = std::make_unique<vx::ui::FakeDialogs>();
        Startup startup;
        QVERIFY(startup.createWindows());
        QTest::keyClicks(FIngreso->Password, QStringLiteral("admin"));
        QTest::keyClick(FIngreso->Password, Qt::Key_Return);
        QVERIFY(FF1->isVisible());

        bool sold = false;
        dialogs->onModal = [&sold](QDialog *dialog) {
            if (dialog != FVentas)
                return int(QDialog::Rejected);
            dialog->show();
            if (!QTest::qWaitForWindowActive(dialog))
                return int(QDialog::Rejected);
            QWidget *focused = QApplication::focusWidget();
            if (focused != FVentas->CBCod)
                return int(QDialog::Rejected);
            QTest::keyClicks(focused, remera);
            QTest::keyClicks(focused, pantalon);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
            QCoreApplication::processEvents();
            sold = QApplication::focusWidget() == FVentas->CBCod;
            if (!sold)
                return int(QDialog::Rejected);
            FVentas->BCerrar->click();
            return dialog->result();
        };
        QTest::keyClick(FF1, Qt::Key_F5);
        QVERIFY(sold);
        QVERIFY(!FVentas->isVisible());
        QCOMPARE(dialogs->texts(QStringLiteral("confirm")),
                 QStringList{QStringLiteral("Proceso Terminado. Imprime Comprobante?")});
        QCOMPARE(shop->count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 1 AND COMTOT = 150")), 1);
        QCOMPARE(shop->count(QStringLiteral("EGRESOS"), QStringLiteral("EGRNRO = 1")), 2);
        QCOMPARE(shop->count(QStringLiteral("MOVIM"), QStringLiteral("MOVNRO = 1")), 2);
        QCOMPARE(shop->count(QStringLiteral("ITECLI"), QStringLiteral("ITECOM = 1")), 2);
        QCOMPARE(shop->count(QStringLiteral("CAJA"), QStringLiteral("CAJTIP = 'EF' AND CAJIMP = 150")), 1);
        QCOMPARE(stockOf(remera), 9.0);
        QCOMPARE(stockOf(pantalon), 4.0);
        // The window's tables are closed again.
        QVERIFY(!DM1->TMP1->active() && !DM1->Stock->active() && !DM1->Clientes->active());
    }
};

QTEST_MAIN(TestVentasRecording)
#include "tst_ventas_recording.moc"
