// The goods receipt and goods issue windows as the operator works them, with keys and the mouse:
// a short code padded and looked up with Enter, an origin code, the comma typed as a point,
// the messages of refused lines, who receives, a proposed number another workstation took, and an
// article deleted before the list is recorded.
#include "../common/Screenshots.h"
#include "StockWindowShop.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "stock/Egre.h"
#include "stock/GoodsIssue.h"
#include "stock/Ing.h"
#include "stock/Remi.h"
#include "shell/Ficha1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString campera = QStringLiteral("0000000000123");
// 46 characters: more than the work table's short text columns hold.
const QString longName = QStringLiteral("CAMPERA DE ABRIGO IMPERMEABLE CON CAPUCHA AZUL");
const QString medias = QStringLiteral("7790000000042");
const QString notFound = QStringLiteral("Articulo no encontrado; revise el codigo...");

}  // namespace

class TestStockWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<StockWindowShop> shop;
    std::unique_ptr<vx::ui::FakeDialogs> dialogs;

    void openShop()
    {
        shop = std::make_unique<StockWindowShop>();
        shop->addArticle(campera, longName, QStringLiteral("CAMP-1"), 2.5, 1);
        shop->addArticle(medias, QStringLiteral("MEDIAS SOQUETE"), QStringLiteral("MED-77"), 0, 0, 25);
        shop->addCustomer(7, QStringLiteral("GOMEZ ANA"));
        dialogs = std::make_unique<vx::ui::FakeDialogs>();
    }

    static void open(stock::MovementWindow &w)
    {
        QVERIFY(w.prepareOpening());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    static void typeInto(QWidget *box, const QString &text)
    {
        QTest::mouseClick(box, Qt::LeftButton);
        if (auto *edit = qobject_cast<QLineEdit *>(box))
            edit->selectAll();
        QTest::keyClicks(box, text);
    }

    // A code typed into a code box and ended with Enter, as a scanner sends it.
    static void scan(vx::ui::PickList *box, const QString &code)
    {
        typeInto(box->lineEdit(), code);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }

    static void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }

private slots:
    void cleanup()
    {
        dialogs.reset();
        shop.reset();
    }

    // 123 found as ten zeros and 123 with Enter, 3 at 7.25 typed with a point; an origin code
    // brings its article; both lines recorded exactly, the long description kept whole.
    void receiptByKeys()
    {
        openShop();
        TFIng w;
        open(w);
        QCOMPARE(w.EdNro->text(), QStringLiteral("1"));
        scan(w.CBCMCT, QStringLiteral("123"));
        QCOMPARE(w.CBCMCT->currentText(), campera);
        QCOMPARE(w.CBDes->currentText(), longName);
        QCOMPARE(w.EdSt1->text(), QStringLiteral("2,5"));
        QCOMPARE(QApplication::focusWidget(), w.EdCan);
        QTest::keyClicks(w.EdCan, QStringLiteral("3"));
        typeInto(w.EdPre, QStringLiteral("7.25"));
        QCOMPARE(w.EdPre->text(), QStringLiteral("7,25"));
        click(w.BAgregar);
        QCOMPARE(w.CBCMCT->currentText(), QString());

        scan(w.CBCodP, QStringLiteral("MED-77"));
        QCOMPARE(w.CBCMCT->currentText(), medias);
        QCOMPARE(w.CBDes->currentText(), QStringLiteral("MEDIAS SOQUETE"));
        QTest::keyClicks(w.EdCan, QStringLiteral("1.5"));
        typeInto(w.EdCan2, QStringLiteral("2"));
        click(w.BAgregar);
        QCOMPARE(w.DBGrid1->model()->rowCount(), 2);
        screenshots::save(w.grab().toImage(), QStringLiteral("ingreso.png"));
        QCOMPARE(w.workLines().first().description, longName);

        click(w.BGrabar);
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QVERIFY(!w.isVisible());
        QCOMPARE(shop->count(QStringLiteral("INGRESOS"), QStringLiteral("INGNRO = 1")), 2);
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {campera}).toDouble(), 5.5);
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTCOS1 FROM STOCK WHERE ARTCMCT = ?"), {campera}).toDouble(), 7.25);
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {medias}).toDouble(), 1.5);
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTEX2 FROM STOCK WHERE ARTCMCT = ?"), {medias}).toDouble(), 2.0);
        // The cost the receipt did not show stays the article's.
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTCOS2 FROM STOCK WHERE ARTCMCT = ?"), {campera}).toDouble(), 6.0);
        QCOMPARE(shop->count(QStringLiteral("TMP1")), 0);
    }

    // What the windows refuse, and the words they use; a second comma is not typed; Escape closes.
    void refusals_data()
    {
        QTest::addColumn<bool>("issue");
        QTest::newRow("receipt") << false;
        QTest::newRow("issue") << true;
    }
    void refusals()
    {
        QFETCH(bool, issue);
        openShop();
        std::unique_ptr<stock::MovementWindow> w;
        if (issue)
            w = std::make_unique<TFEgre>();
        else
            w = std::make_unique<TFIng>();
        open(*w);
        click(w->BAgregar);
        scan(w->CBCMCT, QStringLiteral("999"));
        click(w->BAgregar);
        QCOMPARE(dialogs->texts(QStringLiteral("message")),
                 (QStringList{QStringLiteral("Falta Codigo de articulo..."), notFound, notFound}));
        QCOMPARE(w->DBGrid1->model()->rowCount(), 0);

        scan(w->CBCMCT, campera);
        typeInto(w->EdCan, QStringLiteral("1.2.5"));
        QCOMPARE(w->EdCan->text(), QStringLiteral("1,25"));
        typeInto(w->EdCan, QStringLiteral("-"));
        click(w->BAgregar);
        QCOMPARE(dialogs->texts(QStringLiteral("error")).size(), 1);
        QVERIFY(dialogs->texts(QStringLiteral("error")).first().startsWith(QStringLiteral("La cantidad \"-\" no es un número")));
        QCOMPARE(w->DBGrid1->model()->rowCount(), 0);
        typeInto(w->EdCan, QStringLiteral("1.25"));
        click(w->BAgregar);
        QCOMPARE(w->DBGrid1->model()->rowCount(), 1);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(shop->count(QStringLiteral("TMP1")), 0);
        QCOMPARE(shop->count(QStringLiteral("MOVIM")), 0);
    }

    // The issue's receiver chosen by name; "$ Venta 2" left empty keeps the article's list-2 price;
    // the proposed number another workstation took meanwhile becomes the next free one.
    void issueWithTakenNumber()
    {
        openShop();
        TFEgre w;
        open(w);
        QCOMPARE(w.EdNro->text(), QStringLiteral("1"));
        typeInto(w.CBCliente->lineEdit(), QStringLiteral("NADIE"));
        QTest::keyClick(w.CBCliente->lineEdit(), Qt::Key_Return);
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{QStringLiteral("Revise datos de quien recibe...")});
        typeInto(w.CBCliente->lineEdit(), QStringLiteral("GOMEZ ANA"));
        QTest::keyClick(w.CBCliente->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.LabCli->text(), QStringLiteral("7"));
        typeInto(w.EdConcepto, QStringLiteral("DEVOLUCION A FABRICA"));

        scan(w.CBCMCT, medias);
        QCOMPARE(w.EdPre2->text(), QStringLiteral("25,00"));
        QTest::keyClicks(w.EdCan, QStringLiteral("1.5"));
        typeInto(w.EdPre2, QString());
        QTest::keyClick(w.EdPre2, Qt::Key_Backspace);
        QCOMPARE(w.EdPre2->text(), QString());
        click(w.BAgregar);

        // Another workstation records an issue under the number this window proposed.
        {
            auto other = shop->db().openAnother();
            stock::IssueEntry entry;
            entry.dateText = QStringLiteral("01/12/2026");
            entry.lines.append({campera, {}, 1, 0, 10, 0});
            QCOMPARE(stock::recordIssue(*other, entry).number, 1);
        }
        click(w.BGrabar);
        QCOMPARE(dialogs->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral(
                     "El comprobante 1 ya había sido usado en otro puesto. El egreso se grabó con el número 2.")});
        QVERIFY(!w.isVisible());
        QSqlQuery query = shop->db().execute(
            QStringLiteral("SELECT EGRCLI, EGROBS, EGRCAN1, EGRCOS2 FROM EGRESOS WHERE EGRNRO = 2"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 7);
        QCOMPARE(query.value(1).toString(), QStringLiteral("DEVOLUCION A FABRICA"));
        QCOMPARE(query.value(2).toDouble(), 1.5);
        QCOMPARE(query.value(3).toDouble(), 0.0);
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTVEN2 FROM STOCK WHERE ARTCMCT = ?"), {medias}).toDouble(), 25.0);
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {medias}).toDouble(), -1.5);

        // The receiver stays chosen for the next issue.
        open(w);
        QCOMPARE(w.LabCli->text(), QStringLiteral("7"));
        QCOMPARE(w.receiverCode(), 7);
        QCOMPARE(w.EdNro->text(), QStringLiteral("3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }

    // An article deleted at another workstation after it was listed fails the whole receipt, by
    // name; the list stays for the operator to mend.
    void deletedArticleFailsByName()
    {
        openShop();
        TFIng w;
        open(w);
        for (const QString &code : {campera, medias}) {
            scan(w.CBCMCT, code);
            QTest::keyClicks(w.EdCan, QStringLiteral("1"));
            click(w.BAgregar);
        }
        shop->db().openAnother()->execute(QStringLiteral("DELETE FROM STOCK WHERE ARTCMCT = ?"), {medias});
        click(w.BGrabar);
        const QStringList errors = dialogs->texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(QStringLiteral("No se pudo completar el proceso.")), qPrintable(errors.first()));
        QVERIFY2(errors.first().contains(QStringLiteral("MEDIAS SOQUETE (7790000000042)")), qPrintable(errors.first()));
        QVERIFY(w.isVisible());
        QCOMPARE(w.DBGrid1->model()->rowCount(), 2);
        QCOMPARE(shop->count(QStringLiteral("INGRESOS")), 0);
        QCOMPARE(shop->value(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {campera}).toDouble(), 2.5);
        click(w.BCerrar);
    }

    // F3 and F4 on the main window open the receipt and the issue; the two "Remitos" items open
    // the note window in their mode.
    void mainWindowCommands()
    {
        openShop();
        QStringList opened;
        dialogs->onModal = [&opened](QDialog *dialog) {
            const auto *remi = qobject_cast<TFRemi *>(dialog);
            opened << dialog->objectName() +
                          (remi ? (remi->mode() == TFRemi::Mode::Egresos ? QStringLiteral(" egresos")
                                                                         : QStringLiteral(" ingresos"))
                                : QString());
            return 0;
        };
        TFF1 main;
        QTest::keyClick(&main, Qt::Key_F3);
        QTest::keyClick(&main, Qt::Key_F4);
        main.Remitos1->trigger();
        main.Remitos2->trigger();
        QCOMPARE(opened, (QStringList{QStringLiteral("FIng"), QStringLiteral("FEgre"), QStringLiteral("FRemi egresos"),
                                      QStringLiteral("FRemi ingresos")}));
    }
};

QTEST_MAIN(TestStockWindows)
#include "tst_stockwindows.moc"
