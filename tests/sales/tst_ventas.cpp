// The sales window composing a sale: the three lookups, the scanner, lines in the work table,
// totals, discount, tender, and starting over.
#include "VentasShop.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "sales/SaleTotals.h"
#include "sales/Ventas.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString remera = QStringLiteral("7790000000011");
const QString pantalon = QStringLiteral("7790000000028");
const QString notFound = QStringLiteral("Articulo no encontrado; revise el codigo...");

struct Line {
    QString code;
    QString description;
    double quantity;
    double price;
    double amount;
    int list;
};

}  // namespace

class TestVentas : public QObject {
    Q_OBJECT

    std::unique_ptr<VentasShop> shop;
    std::unique_ptr<vx::ui::FakeDialogs> dialogs;
    std::unique_ptr<TFVentas> w;

    QList<Line> lines()
    {
        QList<Line> out;
        QSqlQuery q = shop->db().execute(
            QStringLiteral("SELECT TM1CHR1, TM1CHR10, TM1NUM1, TM1PRE1, TM1PRE2, TM1NUM2 FROM TMP1 ORDER BY TM1UNO"));
        while (q.next())
            out << Line{q.value(0).toString(), q.value(1).toString(), q.value(2).toDouble(),
                        q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toInt()};
        return out;
    }

    void scan(const QString &code) { QTest::keyClicks(w->CBCod, code); }

    void typeAndEnter(QWidget *box, const QString &text)
    {
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    void setBox(QLineEdit *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
    }

private slots:
    void init()
    {
        shop = std::make_unique<VentasShop>();
        shop->addArticle(remera, QStringLiteral("REMERA AZUL"), QStringLiteral("RA-1"), 10, 100, 90, 80, 70);
        shop->addArticle(pantalon, QStringLiteral("PANTALON NEGRO"), QStringLiteral("PN-2"), 5, 50, 45, 40, 35);
        shop->addArticle(QStringLiteral("0000000000123"), QStringLiteral("MEDIAS"), QStringLiteral("M-123"), 3, 10);
        shop->addReceipt(41, QStringLiteral("1B"));
        shop->addReceipt(90, QStringLiteral("X"));
        dialogs = std::make_unique<vx::ui::FakeDialogs>();
        w = std::make_unique<TFVentas>();
        QVERIFY(w->prepareOpening());
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    void cleanup()
    {
        w.reset();
        dialogs.reset();
        shop.reset();
    }

    void openingPreparesTheWindow()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Ventas"));
        // The next number among the sale receipts only.
        QCOMPARE(w->EdNro->text(), QStringLiteral("42"));
        QCOMPARE(w->EdFec->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(w->CBCliente->currentText(), QStringLiteral("CONSUMIDOR FINAL"));
        QVERIFY(w->CBCliente->items().contains(QStringLiteral("CONSUMIDOR FINAL")));
        QCOMPARE(w->CBCod->items().size(), 3);
        QVERIFY(w->CBDes->items().contains(QStringLiteral("PANTALON NEGRO")));
        QVERIFY(w->CBCodP->items().contains(QStringLiteral("RA-1")));
        QVERIFY(w->CBLista1->isChecked());
        QCOMPARE(w->EdTOT->text(), QStringLiteral("0"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->CBCod));
        QVERIFY(!uGlobales::articleListChanged(uGlobales::ArticleList::Ventas));
        QVERIFY(w->BImp->isHidden() && w->BTicket->isHidden() && w->BFiscal->isHidden());

        // Lists are kept while no article changed, and reloaded after one did.
        shop->addArticle(QStringLiteral("7790000000035"), QStringLiteral("BUZO"), QStringLiteral("B-3"), 1, 1);
        w->finishClosing();
        QVERIFY(w->prepareOpening());
        QCOMPARE(w->CBCod->items().size(), 3);
        uGlobales::setArticleListChanged(uGlobales::ArticleList::Ventas, true);
        w->finishClosing();
        QVERIFY(w->prepareOpening());
        QCOMPARE(w->CBCod->items().size(), 4);
    }

    void scannedCodeAddsOneLineAtTheListPrice()
    {
        scan(remera);
        const QList<Line> added = lines();
        QCOMPARE(added.size(), 1);
        QCOMPARE(added[0].code, remera);
        QCOMPARE(added[0].description, QStringLiteral("REMERA AZUL"));
        QCOMPARE(added[0].quantity, 1.0);
        QCOMPARE(added[0].price, 100.0);
        QCOMPARE(added[0].list, 1);
        QVERIFY(dialogs->shown.isEmpty());
        QCOMPARE(w->CBCod->currentText(), QString());
        QCOMPARE(w->EdTOT->text(), QStringLiteral("100,00"));
        QCOMPARE(w->EdSTot->text(), QStringLiteral("100,00"));
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);

        // The scanner's Enter after the code finds an empty box: nothing more happens.
        QTest::keyClick(w->CBCod, Qt::Key_Return);
        QCOMPARE(lines().size(), 1);
        QVERIFY(dialogs->shown.isEmpty());
        QVERIFY(w->isVisible());

        // A quantity typed first is the line's quantity.
        setBox(w->EdCan, QStringLiteral("3"));
        scan(pantalon);
        QCOMPARE(lines().size(), 2);
        QCOMPARE(lines()[1].quantity, 3.0);
        QCOMPARE(lines()[1].amount, 150.0);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("250,00"));
        QCOMPARE(w->EdCan->text(), QString());
    }

    void unknownScannedCodeIsReportedAndCleared()
    {
        scan(QStringLiteral("7790000009999"));
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{notFound});
        QCOMPARE(w->CBCod->currentText(), QString());
        QVERIFY(lines().isEmpty());
    }

    void shortCodeIsPaddedWithZeros()
    {
        typeAndEnter(w->CBCod, QStringLiteral("123"));
        QCOMPARE(lines().size(), 1);
        QCOMPARE(lines()[0].code, QStringLiteral("0000000000123"));
        QCOMPARE(lines()[0].price, 10.0);

        typeAndEnter(w->CBCod, QStringLiteral("999"));
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{notFound});
        QCOMPARE(lines().size(), 1);
        QCOMPARE(w->CBCod->currentText(), QString());

        QCOMPARE(sales::padOwnCode(QStringLiteral(" 45 ")), QStringLiteral("0000000000045"));
        QCOMPARE(sales::padOwnCode(QStringLiteral("0")), QStringLiteral("0"));
        QCOMPARE(sales::padOwnCode(QString()), QString());
    }

    void blankCodeIsNeverLookedUp()
    {
        scan(QStringLiteral("0000000000000"));
        QVERIFY(dialogs->shown.isEmpty());
        QTest::keyClick(w->CBCod, Qt::Key_Return);
        QVERIFY(dialogs->shown.isEmpty());
        typeAndEnter(w->CBCod, QStringLiteral("0"));
        QVERIFY(dialogs->shown.isEmpty());
        QVERIFY(lines().isEmpty());
    }

    void dropDownChoiceAddsOnce()
    {
        const int row = w->CBCod->items().indexOf(pantalon);
        QVERIFY(row >= 0);
        w->CBCod->setCurrentIndex(row);
        emit w->CBCod->activated(row);
        QCOMPARE(lines().size(), 1);
        QCOMPARE(lines()[0].code, pantalon);
        QVERIFY(!w->entryArmed());
        // Leaving the box afterwards adds nothing, even with the code back in it.
        w->CBCod->setEditText(pantalon);
        w->CBCodExit();
        QCOMPARE(lines().size(), 1);
        // Typing arms the entry again.
        scan(remera);
        QCOMPARE(lines().size(), 2);
        QVERIFY(w->entryArmed());
    }

    void checkedListPricesNewLinesOnly()
    {
        w->CBLista3->setChecked(true);
        scan(remera);
        QCOMPARE(lines()[0].price, 80.0);
        QCOMPARE(lines()[0].list, 3);
        w->CBLista1->setChecked(true);
        QCOMPARE(lines()[0].price, 80.0);
        scan(remera);
        QCOMPARE(lines()[1].price, 100.0);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("180,00"));
    }

    void originCodeAndDescriptionLookups()
    {
        typeAndEnter(w->CBCodP, QStringLiteral("pn-2"));
        QCOMPARE(lines().size(), 1);
        QCOMPARE(lines()[0].code, pantalon);
        QCOMPARE(w->CBCodP->currentText(), QString());

        typeAndEnter(w->CBCodP, QStringLiteral("ZZ-9"));
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{notFound});
        QCOMPARE(lines().size(), 1);

        // A description shows the article without adding it.
        const int row = w->CBDes->items().indexOf(QStringLiteral("REMERA AZUL"));
        w->CBDes->setCurrentIndex(row);
        emit w->CBDes->activated(row);
        QCOMPARE(w->CBCod->currentText(), remera);
        QCOMPARE(w->EdPre->text(), QStringLiteral("100,00"));
        QCOMPARE(w->EdStock->text(), QStringLiteral("10"));
        QCOMPARE(lines().size(), 1);
        w->BAgregar->click();
        QCOMPARE(lines().size(), 2);
        QCOMPARE(lines()[1].code, remera);
    }

    void addingWithoutCodeOrWithBadNumbers()
    {
        w->BAgregar->click();
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{QStringLiteral("Falta Codigo de articulo...")});
        QVERIFY(lines().isEmpty());

        // A quantity that is no number leaves the line out, silently.
        w->CBCod->setEditText(remera);
        w->EdCan->setText(QStringLiteral("1,2,3"));
        w->BAgregar->click();
        QVERIFY(lines().isEmpty());
        QCOMPARE(dialogs->shown.size(), 1);
    }

    void discountStep()
    {
        setBox(w->EdCan, QStringLiteral("2"));
        scan(remera);
        QCOMPARE(w->EdSTot->text(), QStringLiteral("200,00"));
        setBox(w->EdPor, QStringLiteral("10"));
        w->EdPorExit();
        QCOMPARE(w->EdPor->text(), QStringLiteral("10,00"));
        QCOMPARE(w->EdDcto->text(), QStringLiteral("20,00"));
        QCOMPARE(w->EdTotal->text(), QStringLiteral("180,00"));
        QCOMPARE(w->EdTOT->text(), QStringLiteral("180,00"));

        setBox(w->EdPor, QStringLiteral("-10"));
        w->EdPorExit();
        QCOMPARE(w->EdTOT->text(), QStringLiteral("220,00"));

        // The percentage holds for lines added later.
        setBox(w->EdPor, QStringLiteral("10"));
        w->EdPorExit();
        scan(pantalon);
        QCOMPARE(w->EdSTot->text(), QStringLiteral("250,00"));
        QCOMPARE(w->EdTOT->text(), QStringLiteral("225,00"));

        // Deleting a line of no amount leaves the subtotal as it was, and the discount still holds.
        w->CBCod->setEditText(remera);
        w->EdPre->setText(QStringLiteral("0"));
        w->BAgregar->click();
        QCOMPARE(lines().size(), 3);
        w->BEliminarClick();
        QCOMPARE(lines().size(), 2);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("225,00"));

        const sales::Discount plain = sales::applyDiscount(200, 0);
        QCOMPARE(plain.amount, 0.0);
        QCOMPARE(plain.total, 200.0);
    }

    void changeWithCashAndCard()
    {
        setBox(w->EdCan, QStringLiteral("2"));
        scan(remera);
        setBox(w->EdPor, QStringLiteral("10"));
        w->EdPorExit();
        setBox(w->EdEFE, QStringLiteral("200"));
        QCOMPARE(w->EdVTO->text(), QStringLiteral("20,00"));
        w->EdEFEExit();
        QCOMPARE(w->EdEFE->text(), QStringLiteral("200,00"));
        QCOMPARE(w->EdTar->text(), QStringLiteral("0,00"));

        setBox(w->EdTar, QStringLiteral("50"));
        setBox(w->EdEFE, QStringLiteral("130"));
        QCOMPARE(w->EdVTO->text(), QStringLiteral("0,00"));
        // Something that is no number yet leaves the change as it was.
        w->EdEFE->setText(QStringLiteral("1,,"));
        QCOMPARE(w->EdVTO->text(), QStringLiteral("0,00"));
    }

    void keyFiltersOfTheAmountBoxes()
    {
        QTest::keyClicks(w->EdCan, QStringLiteral("1.5,x"));
        QCOMPARE(w->EdCan->text(), QStringLiteral("1,5"));
        QTest::keyClicks(w->EdPor, QStringLiteral("a1.5."));
        QCOMPARE(w->EdPor->text(), QStringLiteral("01,5,"));
        QTest::keyClicks(w->EdEFE, QStringLiteral("-2.5"));
        QCOMPARE(w->EdEFE->text(), QStringLiteral("-2,5"));
    }

    void doubleClickTakesALineBack()
    {
        scan(remera);
        setBox(w->EdCan, QStringLiteral("2"));
        scan(pantalon);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("200,00"));
        w->CBLista2->setChecked(true);
        DM1->TMP1->last();
        w->DBGrid1DblClick();
        QCOMPARE(lines().size(), 1);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);
        QCOMPARE(w->CBCod->currentText(), pantalon);
        QCOMPARE(w->EdCan->text(), QStringLiteral("2"));
        // The price of the list checked now, not the line's.
        QCOMPARE(w->EdPre->text(), QStringLiteral("45,00"));
        QCOMPARE(w->EdTOT->text(), QStringLiteral("200,00"));
        setBox(w->EdCan, QStringLiteral("3"));
        w->BAgregar->click();
        QCOMPARE(lines().size(), 2);
        QCOMPARE(lines()[1].amount, 135.0);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("235,00"));
    }

    void titleClickSortsTheLines()
    {
        scan(remera);
        scan(pantalon);
        w->DBGrid1TitleClick(0);
        QCOMPARE(DM1->TMP1->sort(), QStringLiteral("TM1CHR1 ASC"));
        QVERIFY(w->DBGrid1->titleBold(0));
        w->DBGrid1TitleClick(0);
        QCOMPARE(DM1->TMP1->sort(), QStringLiteral("TM1CHR1 DESC"));
        DM1->TMP1->first();
        QCOMPARE(DM1->TMP1->fieldByName(QStringLiteral("TM1CHR1"))->asString(), pantalon);
    }

    void cancelAndNewStartOver()
    {
        scan(remera);
        setBox(w->EdPor, QStringLiteral("10"));
        w->EdPorExit();
        setBox(w->EdEFE, QStringLiteral("100"));
        w->BCancelar->click();
        QVERIFY(lines().isEmpty());
        QCOMPARE(w->EdTOT->text(), QStringLiteral("0"));
        for (QLineEdit *box : {w->EdNro, w->EdEFE, w->EdSTot, w->EdPor, w->EdDcto, w->EdTotal, w->EdVTO})
            QCOMPARE(box->text(), QString());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->CBCod));
        // The cancelled discount does not come back with the next line.
        scan(remera);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("100,00"));

        // "&Nuevo" numbers after every receipt, whatever its type.
        w->BNuevo->click();
        QVERIFY(lines().isEmpty());
        QCOMPARE(w->EdNro->text(), QStringLiteral("91"));
    }

    void linesOfAnotherWorkstationStayOutOfTheSale()
    {
        // Another workstation writes work-table lines on its own connection meanwhile.
        const std::unique_ptr<vx::Connection> other = shop->db().openAnother();
        const auto otherLine = [&other] {
            other->execute(QStringLiteral("INSERT INTO TMP1 (TM1CHR1, TM1NUM1, TM1PRE1, TM1PRE2) "
                                          "VALUES ('9999999999999', 1, 999, 999)"));
        };
        const auto otherLines = [&other] {
            return other->scalar(QStringLiteral("SELECT COUNT(*) FROM TMP1")).toInt();
        };
        otherLine();
        scan(remera);
        otherLine();
        scan(pantalon);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 2);
        QCOMPARE(w->EdTOT->text(), QStringLiteral("150,00"));
        QCOMPARE(otherLines(), 2);
        DM1->TMP1->first();
        w->BEliminarClick();
        QCOMPARE(w->EdTOT->text(), QStringLiteral("50,00"));
        w->BCancelar->click();
        QCOMPARE(otherLines(), 2);
        scan(remera);
        w->BCerrar->click();
        QCOMPARE(otherLines(), 2);
    }

    void closingEmptiesTheWorkTable()
    {
        scan(remera);
        w->BCerrar->click();
        QVERIFY(!w->isVisible());
        QVERIFY(lines().isEmpty());
        QVERIFY(!DM1->TMP1->active());
        QVERIFY(!DM1->Stock->active());
        QCOMPARE(w->EdNro->text(), QString());
    }
};

QTEST_MAIN(TestVentas)
#include "tst_ventas.moc"
