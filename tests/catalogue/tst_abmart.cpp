// The article window driven as an operator would: boxes typed into and left, buttons pressed.
#include "CatalogueShop.h"

#include "catalogue/ABMArt.h"
#include "catalogue/ConsArt.h"
#include "platform/ui/DBNavigator.h"

#include <QLineEdit>
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
        scene.shop.addArticle(QStringLiteral("0000000000042"), QStringLiteral("CAMISA"), 2, 0, 1, 10.0);
        scene.shop.dm->Stock->refresh();
        scene.window.COD->setText(QStringLiteral("42"));
        scene.window.Des->setText(QStringLiteral("OTRA COSA"));
        scene.window.CODExit();
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
