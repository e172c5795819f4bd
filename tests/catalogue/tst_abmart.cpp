// The article window driven as an operator would: boxes typed into and left, buttons pressed.
#include "CatalogueShop.h"

#include "catalogue/ABMArt.h"
#include "catalogue/ConsArt.h"
#include "platform/ui/DBNavigator.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

struct ArticleScene {
    CatalogueShop shop;
    TFABMArt window;
    TFBuscando search;

    ArticleScene()
    {
        shop.dm->Stock->open();
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }
    QStringList messages() const { return shop.dialogs.texts(QStringLiteral("message")); }
    QStringList errors() const { return shop.dialogs.texts(QStringLiteral("error")); }
    // Types into a box and leaves it with Tab, as the operator does.
    void typeAndLeave(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    // Types over what a box holds and leaves it.
    void retype(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // Another article first, so that the navigator has somewhere to go; then the one given.
    void addAfterAnother(const QString &code, const QString &description, double stock1 = 0, double stock2 = 0,
                         const QVariant &cost1 = {}, const QString &origin = {})
    {
        shop.addArticle(QStringLiteral("0000000000001"), QStringLiteral("OTRO"));
        shop.addArticle(code, description, stock1, stock2, {}, cost1, origin);
        shop.dm->Stock->refresh();
        shop.dm->Stock->first();
    }
    void clickLast() { click(window.DBNavigator1->button(vx::ui::NavigatorButton::Last)); }
    QVariant stored(const QString &column, const QString &code)
    {
        return shop.value(QStringLiteral("SELECT %1 FROM STOCK WHERE ARTCMCT = ?").arg(column), {code});
    }
    bool boxesEmpty() const
    {
        for (QLineEdit *box : window.findChildren<QLineEdit *>()) {
            if (!box->text().isEmpty())
                return false;
        }
        return true;
    }
};

class TestABMArt : public QObject {
    Q_OBJECT

private slots:
    void ownCodeIsPaddedOnLeaving()
    {
        ArticleScene scene;
        QVERIFY(scene.ready());
        scene.typeAndLeave(scene.window.COD, QStringLiteral("123"));
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000123"));
        QCOMPARE(uGlobales::session().currentArticleCode, QStringLiteral("0000000000123"));
        QVERIFY(scene.messages().isEmpty());

        scene.window.COD->clear();
        scene.window.CODExit();
        QCOMPARE(scene.window.COD->text(), QString());
        CatalogueShop::screenshot(scene.window, QStringLiteral("FABMArt"));
    }

    void anExistingCodeIsShownAndRefused()
    {
        ArticleScene scene;
        QVERIFY(scene.ready());
        scene.shop.addArticle(QStringLiteral("0000000000042"), QStringLiteral("CAMISA"), 2, 0, 1, 10.0);
        scene.shop.dm->Stock->refresh();
        scene.window.Des->setText(QStringLiteral("OTRA COSA"));
        scene.typeAndLeave(scene.window.COD, QStringLiteral("42"));
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Articulo existente...")});
        QVERIFY(scene.boxesEmpty());
    }

    void enterInTheOriginCodeCopiesItIntoTheOwnCode()
    {
        ArticleScene scene;
        QVERIFY(scene.ready());
        scene.window.EdCodP->setFocus();
        QTest::keyClicks(scene.window.EdCodP, QStringLiteral("ab12"));
        QTest::keyClick(scene.window.EdCodP, Qt::Key_Return);
        QCOMPARE(scene.window.EdCodP->text(), QStringLiteral("AB12"));
        QCOMPARE(scene.window.COD->text(), QStringLiteral("000000000AB12"));

        scene.window.EdCodP->clear();
        scene.window.EdCodP->setFocus();
        QTest::keyClicks(scene.window.EdCodP, QStringLiteral("7791234567890"));
        QTest::keyClick(scene.window.EdCodP, Qt::Key_Enter);
        QCOMPARE(scene.window.COD->text(), QStringLiteral("7791234567890"));

        // Leaving an origin code the operator did not change keeps the own code.
        scene.window.COD->setText(QStringLiteral("0000000000001"));
        scene.window.EdCodPExit();
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000001"));
    }

    void marginToPrice()
    {
        ArticleScene scene;
        QVERIFY(scene.ready());
        scene.typeAndLeave(scene.window.Costo1, QStringLiteral("10"));
        QCOMPARE(scene.window.Costo1->text(), QStringLiteral("10,00"));
        scene.typeAndLeave(scene.window.Util1, QStringLiteral("30"));
        QCOMPARE(scene.window.Util1->text(), QStringLiteral("30,00"));
        QCOMPARE(scene.window.Pre1->text(), QStringLiteral("13,00"));
        // A typed point is the decimal comma; letters are dropped.
        scene.typeAndLeave(scene.window.Util3, QStringLiteral("12.3x4"));
        QCOMPARE(scene.window.Util3->text(), QStringLiteral("12,34"));
        QCOMPARE(scene.window.Pre3->text(), QStringLiteral("11,23"));

        // With no cost the conversion error is shown and the price is left as it was.
        scene.window.Costo1->clear();
        scene.window.Pre4->setText(QStringLiteral("99,00"));
        scene.window.Util4->setText(QStringLiteral("20"));
        scene.window.Util4Exit();
        QCOMPARE(scene.errors().size(), 1);
        QCOMPARE(scene.window.Pre4->text(), QStringLiteral("99,00"));
        QCOMPARE(scene.window.Util4->text(), QStringLiteral("20,00"));
        QVERIFY(scene.messages().isEmpty());
    }

    void datesAreRewrittenAndBadTextIsReported()
    {
        ArticleScene scene;
        QVERIFY(scene.ready());
        scene.typeAndLeave(scene.window.UltFecI, QStringLiteral("3/4/2026a"));
        QCOMPARE(scene.window.UltFecI->text(), QStringLiteral("03/04/2026"));
        scene.window.UltFecE->setText(QStringLiteral("40/40/2026"));
        scene.window.UltFecEExit();
        QCOMPARE(scene.errors().size(), 1);
        QCOMPARE(scene.window.UltFecE->text(), QStringLiteral("40/40/2026"));

        // Saving with the bad date fails, writes nothing and keeps the boxes.
        scene.window.Des->setText(QStringLiteral("CAMPERA"));
        scene.window.BGrabar->click();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("No se pudo actualizar la tabla...")});
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 0);
        QCOMPARE(scene.window.Des->text(), QStringLiteral("CAMPERA"));
    }

    void savingAnEmptyCodeCreatesTheZeroArticle()
    {
        ArticleScene scene;
        scene.window.Des->setText(QStringLiteral("SIN CODIGO"));
        scene.window.BGrabar->click();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Proceso Terminado...")});
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK"), QStringLiteral("ARTCMCT = '0000000000000' AND ARTDES = 'SIN CODIGO'")), 1);
        QCOMPARE(scene.shop.count(QStringLiteral("MOVIM")), 0);
        QVERIFY(scene.boxesEmpty());
        for (int i = 0; i < uGlobales::articleListCount; ++i)
            QVERIFY(uGlobales::articleListChanged(uGlobales::ArticleList(i)));
    }

    void savingWithOnlyTheSecondLocation()
    {
        ArticleScene scene;
        scene.window.COD->setText(QStringLiteral("5"));
        scene.window.Cant2->setText(QStringLiteral("6"));
        scene.window.BGrabar->click();
        QCOMPARE(scene.shop.count(QStringLiteral("MOVIM"), QStringLiteral("MOVCAN1 IS NULL AND MOVCAN2 = 6 AND MOVTIP = 'I'")), 1);
        QCOMPARE(scene.shop.count(QStringLiteral("INGRESOS"), QStringLiteral("INGCAN1 IS NULL AND INGCAN2 = 6")), 1);
    }

    void navigationLoadsTheWholeArticleAndSavingItKeepsItsOriginCode()
    {
        ArticleScene scene;
        scene.shop.addArticle(QStringLiteral("0000000000001"), QStringLiteral("CON PRECIO"), 4, 1, 2, 8.5, QStringLiteral("PRV-9"));
        scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTVEN3 = 12.5, ARTUTI3 = 47.06"));
        scene.shop.addArticle(QStringLiteral("0000000000002"), QStringLiteral("SIN PRECIO"), 0, 0);
        vx::Table &stock = *scene.shop.dm->Stock;
        stock.setIndexFieldNames(QStringLiteral("ARTCMCT"));
        QVERIFY(stock.locate(QStringLiteral("ARTCMCT"), QStringLiteral("0000000000001")));
        stock.edit();
        stock.fieldByName(QStringLiteral("ARTFEC1"))->setAsDateTime(vx::naiveDateTime(QDate(2026, 3, 9)));
        stock.post();
        scene.window.DBNavigator1->click(vx::ui::NavigatorButton::Last);
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000002"));
        scene.window.DBNavigator1->click(vx::ui::NavigatorButton::First);
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000001"));
        QCOMPARE(scene.window.EdCodP->text(), QStringLiteral("PRV-9"));
        QCOMPARE(scene.window.Cant1->text(), QStringLiteral("4"));
        QCOMPARE(scene.window.Costo1->text(), QStringLiteral("8,50"));
        QCOMPARE(scene.window.Pre3->text(), QStringLiteral("12,50"));
        QCOMPARE(scene.window.Util3->text(), QStringLiteral("47,06"));
        QCOMPARE(scene.window.PtoRep->text(), QStringLiteral("2"));
        QCOMPARE(scene.window.UltFecI->text(), QStringLiteral("09/03/2026"));
        QCOMPARE(scene.window.UltFecE->text(), QString());

        // Saved again unchanged: its origin code stays, and no movement is written.
        scene.window.BGrabar->click();
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT ARTCOD FROM STOCK WHERE ARTCMCT = '0000000000001'")).toString(),
                 QStringLiteral("PRV-9"));
        QCOMPARE(scene.shop.count(QStringLiteral("MOVIM")), 0);
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 2);

        // The next article does not inherit the prices of the one before.
        QCOMPARE(stock.fieldByName(QStringLiteral("ARTCMCT"))->asString(), QStringLiteral("0000000000001"));
        scene.window.DBNavigator1->click(vx::ui::NavigatorButton::Next);
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000002"));
        QCOMPARE(scene.window.Pre3->text(), QString());
        QCOMPARE(scene.window.EdCodP->text(), QString());
        // Leaving the origin code as loaded does not touch the own code.
        scene.window.EdCodPExit();
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000002"));

        // A changed quantity writes the movement of the difference.
        scene.window.Cant1->setText(QStringLiteral("3"));
        scene.window.BGrabar->click();
        QCOMPARE(scene.shop.count(QStringLiteral("MOVIM"), QStringLiteral("MOVCMCT = '0000000000002' AND MOVTIP = 'I' AND MOVCAN1 = 3")), 1);
        QCOMPARE(scene.shop.count(QStringLiteral("INGRESOS")), 0);
    }

    // Every digit of a price survives loading and saving; a margin's price fits every list's box.
    void pricesKeepEveryDigit()
    {
        ArticleScene scene;
        QVERIFY(scene.ready());
        const QString coat = QStringLiteral("0000000000031");
        scene.addAfterAnother(coat, QStringLiteral("CAMPERA"), 1, 0, 23174.40);
        scene.shop.db().execute(
            QStringLiteral("UPDATE STOCK SET ARTVEN1 = 23174.40, ARTVEN2 = 23174.40, ARTVEN3 = 23174.40, ARTVEN4 = 23174.40"));
        scene.clickLast();
        for (QLineEdit *box : {scene.window.Costo1, scene.window.Pre1, scene.window.Pre2, scene.window.Pre3, scene.window.Pre4})
            QCOMPARE(box->text(), QStringLiteral("23174,40"));
        scene.click(scene.window.BGrabar);
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Proceso Terminado...")});
        for (const char *column : {"ARTCOS1", "ARTVEN1", "ARTVEN2", "ARTVEN3", "ARTVEN4"})
            QCOMPARE(scene.stored(QLatin1String(column), coat).toDouble(), 23174.40);

        // A margin on a cost of 1000: the same price in list 1 as in list 2.
        scene.typeAndLeave(scene.window.COD, QStringLiteral("32"));
        scene.typeAndLeave(scene.window.Costo1, QStringLiteral("1000"));
        scene.typeAndLeave(scene.window.Util1, QStringLiteral("23,456"));
        scene.typeAndLeave(scene.window.Util2, QStringLiteral("23,456"));
        QCOMPARE(scene.window.Pre1->text(), QStringLiteral("1234,56"));
        QCOMPARE(scene.window.Pre2->text(), QStringLiteral("1234,56"));
        // A price of 1000,00 is typed into the first list as into the others.
        scene.typeAndLeave(scene.window.Pre3, QStringLiteral("1000,00"));
        scene.retype(scene.window.Pre1, QStringLiteral("1000,00"));
        QCOMPARE(scene.window.Pre1->text(), QStringLiteral("1000,00"));
        scene.click(scene.window.BGrabar);
        const QString cap = QStringLiteral("0000000000032");
        QCOMPARE(scene.stored(QStringLiteral("ARTVEN1"), cap).toDouble(), 1000.0);
        QCOMPARE(scene.stored(QStringLiteral("ARTVEN2"), cap).toDouble(), 1234.56);
        QCOMPARE(scene.stored(QStringLiteral("ARTVEN3"), cap).toDouble(), 1000.0);
    }

    // Another counter sells 2 of the 10 loaded before "Grabar": the sale stays, and only a quantity
    // the operator changed is written, as that change.
    void aSaleElsewhereBetweenLoadAndSaveIsKept_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stock");
        QTest::addColumn<QString>("movement");
        QTest::newRow("a price changed") << QStringLiteral("Pre2") << QStringLiteral("99") << 8.0 << QString();
        QTest::newRow("more stock typed") << QStringLiteral("Cant1") << QStringLiteral("15") << 13.0 << QStringLiteral("I 5");
        QTest::newRow("less stock typed") << QStringLiteral("Cant1") << QStringLiteral("7") << 5.0 << QStringLiteral("E 3");
    }
    void aSaleElsewhereBetweenLoadAndSaveIsKept()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(double, stock);
        QFETCH(QString, movement);
        ArticleScene scene;
        QVERIFY(scene.ready());
        const QString shirt = QStringLiteral("0000000000010");
        scene.addAfterAnother(shirt, QStringLiteral("REMERA"), 10, 4);
        scene.clickLast();
        QCOMPARE(scene.window.Cant1->text(), QStringLiteral("10"));

        scene.shop.otherWorkstation()->execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = ARTEX1 - 2 WHERE ARTCMCT = ?"),
                                               {shirt});
        scene.retype(scene.window.findChild<QLineEdit *>(box), typed);
        scene.click(scene.window.BGrabar);
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Proceso Terminado...")});
        QCOMPARE(scene.stored(QStringLiteral("ARTEX1"), shirt).toDouble(), stock);
        QCOMPARE(scene.stored(QStringLiteral("ARTEX2"), shirt).toDouble(), 4.0);
        QStringList movements;
        QSqlQuery rows = scene.shop.db().execute(QStringLiteral("SELECT MOVTIP, MOVCAN1, MOVCAN2 FROM MOVIM"));
        while (rows.next()) {
            QVERIFY(rows.value(2).isNull());
            movements << rows.value(0).toString() + QLatin1Char(' ') + QString::number(rows.value(1).toDouble());
        }
        QCOMPARE(movements.join(QLatin1Char(';')), movement);
    }

    // The own code is checked, and the origin code copied into it, only after the operator typed them.
    void codesFollowWhatTheOperatorTyped()
    {
        ArticleScene scene;
        QVERIFY(scene.ready());
        scene.addAfterAnother(QStringLiteral("0000000000005"), QStringLiteral("CAMISA"), 3, 0, {}, QStringLiteral("PRV-5"));

        // Navigate, then click into a box to edit the article: it stays.
        scene.window.COD->setFocus();
        scene.clickLast();
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000005"));
        scene.click(scene.window.Des);
        QCOMPARE(QApplication::focusWidget(), scene.window.Des);
        QVERIFY(scene.messages().isEmpty());
        QCOMPARE(scene.window.Des->text(), QStringLiteral("CAMISA"));
        QCOMPARE(scene.window.EdCodP->text(), QStringLiteral("PRV-5"));

        // "&Nuevo", an own code, then Tab through the emptied origin box: the own code stays.
        scene.click(scene.window.BNuevo);
        scene.window.COD->setFocus();
        QTest::keyClicks(scene.window.COD, QStringLiteral("77"));
        QTest::keyClick(scene.window.COD, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), scene.window.EdCodP);
        QTest::keyClick(scene.window.EdCodP, Qt::Key_Tab);
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000077"));
        QTest::keyClicks(scene.window.Des, QStringLiteral("gorra"));
        scene.click(scene.window.BGrabar);
        QCOMPARE(scene.stored(QStringLiteral("ARTDES"), QStringLiteral("0000000000077")).toString(), QStringLiteral("GORRA"));
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 3);

        // An origin code typed in lower case and ending in a letter is copied as typed.
        scene.typeAndLeave(scene.window.EdCodP, QStringLiteral("def"));
        QCOMPARE(scene.window.EdCodP->text(), QStringLiteral("DEF"));
        QCOMPARE(scene.window.COD->text(), QStringLiteral("0000000000DEF"));
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Proceso Terminado...")});
    }

    void photoButtonAndClosing()
    {
        ArticleScene scene;
        scene.shop.dialogs.fileAnswers.enqueue(QStringLiteral("/fotos/remera azul.bmp"));
        scene.window.BitBtn1->click();
        QCOMPARE(scene.window.EdFoto->text(), QStringLiteral("/FOTOS/REMERA AZUL.BMP"));
        QCOMPARE(scene.shop.dialogs.shown.last().kind, QStringLiteral("open"));
        QVERIFY(scene.shop.dialogs.shown.last().caption.endsWith(QStringLiteral("SinImg.bmp")));
        // Cancelling the dialog keeps the name.
        scene.window.BitBtn1->click();
        QCOMPARE(scene.window.EdFoto->text(), QStringLiteral("/FOTOS/REMERA AZUL.BMP"));

        scene.shop.dm->Ingresos->open();
        scene.window.BCerrar->click();
        QVERIFY(scene.boxesEmpty());
        QVERIFY(!scene.shop.dm->Stock->active());
        QVERIFY(!scene.shop.dm->Ingresos->active());
        QVERIFY(!scene.window.isVisible());
    }

    void consultOpensTheSearchOnTheLastArticle()
    {
        ArticleScene scene;
        scene.shop.addArticle(QStringLiteral("0000000000003"), QStringLiteral("C"));
        scene.shop.addArticle(QStringLiteral("0000000000001"), QStringLiteral("A"));
        vx::Table &stock = *scene.shop.dm->Stock;
        QString shownOn;
        scene.shop.dialogs.onModal = [&](QDialog *) {
            shownOn = stock.fieldByName(QStringLiteral("ARTCMCT"))->asString();
            return int(QDialog::Rejected);
        };
        scene.window.Image1->click();
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("modal")), QStringList{QStringLiteral("FBuscando")});
        QCOMPARE(shownOn, QStringLiteral("0000000000003"));
        QCOMPARE(uGlobales::session().articleSearchCaller, QStringLiteral("ARTICULO"));
    }
};

QTEST_MAIN(TestABMArt)
#include "tst_abmart.moc"
