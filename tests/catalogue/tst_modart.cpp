// The modification window over the shared Stock table: bound boxes, margins that post at once.
#include "CatalogueShop.h"

#include "catalogue/MODArt.h"
#include "platform/ui/DBEdit.h"

#include <QPushButton>
#include <QTest>

struct ChangeScene {
    CatalogueShop shop;
    TFModArt window;

    ChangeScene()
    {
        shop.addArticle(QStringLiteral("0000000000001"), QStringLiteral("CAMISA"), 4, 2, 1, 8.0, QStringLiteral("PRV-1"));
        shop.dm->Stock->open();
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }
    QVariant stored(const QString &column)
    {
        return shop.value(QStringLiteral("SELECT %1 FROM STOCK WHERE ARTCMCT = '0000000000001'").arg(column));
    }
    void typeAndLeave(vx::ui::DBEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
};

class TestModArt : public QObject {
    Q_OBJECT

private slots:
    void aMarginSetsItsPriceAtOnce()
    {
        ChangeScene scene;
        QVERIFY(scene.ready());
        QCOMPARE(scene.window.DBEdit8->text(), QStringLiteral("8,00"));
        scene.typeAndLeave(scene.window.DBEdit13, QStringLiteral("25"));
        QCOMPARE(scene.stored(QStringLiteral("ARTUTI1")).toDouble(), 25.0);
        QCOMPARE(scene.stored(QStringLiteral("ARTVEN1")).toDouble(), 10.0);
        QCOMPARE(scene.shop.dm->Stock->state(), vx::Dataset::State::Browse);

        // Cost 3, margin 33,333: the price is stored unrounded and shown with two decimals.
        scene.shop.dm->Stock->edit();
        scene.shop.dm->Stock->fieldByName(QStringLiteral("ARTCOS1"))->setAsFloat(3);
        scene.shop.dm->Stock->post();
        scene.typeAndLeave(scene.window.DBEdit19, QStringLiteral("33.333"));
        QCOMPARE(scene.stored(QStringLiteral("ARTVEN4")).toDouble(), (33.333 / 100.0 + 1.0) * 3.0);
        QVERIFY(qAbs(scene.stored(QStringLiteral("ARTVEN4")).toDouble() - 3.99999) < 1e-9);
        QCOMPARE(scene.window.DBEdit20->text(), QStringLiteral("4,00"));
        // The empty margin boxes passed on the way set no price.
        QVERIFY(scene.stored(QStringLiteral("ARTVEN2")).isNull());
        CatalogueShop::screenshot(scene.window, QStringLiteral("FModArt"));
    }

    void codesAndQuantitiesCannotBeEdited()
    {
        ChangeScene scene;
        QVERIFY(scene.ready());
        for (vx::ui::DBEdit *box : {scene.window.DBEdit1, scene.window.DBEdit12, scene.window.DBEdit3, scene.window.DBEdit4}) {
            QVERIFY(box->isReadOnly());
            box->setFocus();
            QTest::keyClicks(box, QStringLiteral("99"));
        }
        QCOMPARE(scene.window.DBEdit1->text(), QStringLiteral("0000000000001"));
        QCOMPARE(scene.window.DBEdit3->text(), QStringLiteral("4,00"));
        QCOMPARE(scene.shop.dm->Stock->state(), vx::Dataset::State::Browse);
    }

    void saveStoresTheTypedBoxes()
    {
        ChangeScene scene;
        QVERIFY(scene.ready());
        scene.window.DBEdit6->setFocus();
        scene.window.DBEdit6->selectAll();
        QTest::keyClicks(scene.window.DBEdit6, QStringLiteral("camisa lisa"));
        scene.window.BGrabar->click();
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado...")});
        QCOMPARE(scene.stored(QStringLiteral("ARTDES")).toString(), QStringLiteral("CAMISA LISA"));
        QVERIFY(!scene.window.isVisible());
        QVERIFY(!scene.shop.db().inTransaction());
    }

    void aValueTheFieldRefusesFailsTheSave()
    {
        ChangeScene scene;
        QVERIFY(scene.ready());
        scene.window.DBEdit14->setFocus();
        scene.window.DBEdit14->selectAll();
        QTest::keyClicks(scene.window.DBEdit14, QStringLiteral("45452026"));
        QVERIFY(scene.window.DBEdit14->isModified());
        scene.window.BGrabar->click();
        QVERIFY(scene.shop.dialogs.texts(QStringLiteral("message")).contains(QStringLiteral("No se pudo actualizar la tabla...")));
        QVERIFY(scene.window.isVisible());
        QVERIFY(!scene.shop.db().inTransaction());
        QVERIFY(scene.stored(QStringLiteral("ARTFEC1")).isNull());

        // Closing drops what was not saved.
        scene.window.BCerrar->click();
        QCOMPARE(scene.shop.dm->Stock->state(), vx::Dataset::State::Browse);
        QVERIFY(!scene.window.isVisible());
    }

    // Leaving the window without "Grabar", by any path, drops the edit: the next move of the search
    // grid over Stock must not store it.
    void leavingDropsAnUnsavedEdit_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Escape") << QStringLiteral("Escape");
        QTest::newRow("title bar") << QStringLiteral("title bar");
    }
    void leavingDropsAnUnsavedEdit()
    {
        QFETCH(QString, way);
        ChangeScene scene;
        scene.shop.addArticle(QStringLiteral("0000000000002"), QStringLiteral("BUZO"));
        vx::Table &stock = *scene.shop.dm->Stock;
        stock.refresh();
        QVERIFY(scene.ready());
        scene.window.DBEdit6->setFocus();
        scene.window.DBEdit6->selectAll();
        QTest::keyClicks(scene.window.DBEdit6, QStringLiteral("abandonada"));
        scene.window.DBEdit2->setFocus();
        QCOMPARE(stock.state(), vx::Dataset::State::Edit);
        QTest::keyClicks(scene.window.DBEdit2, QStringLiteral("nota"));
        if (way == QLatin1String("Escape"))
            QTest::keyClick(scene.window.DBEdit2, Qt::Key_Escape);
        else
            scene.window.close();
        QVERIFY(!scene.window.isVisible());
        QCOMPARE(stock.state(), vx::Dataset::State::Browse);
        stock.next();
        stock.first();
        QCOMPARE(scene.stored(QStringLiteral("ARTDES")).toString(), QStringLiteral("CAMISA"));
        QVERIFY(scene.stored(QStringLiteral("ARTOBS")).isNull());
        QCOMPARE(stock.fieldByName(QStringLiteral("ARTDES"))->asString(), QStringLiteral("CAMISA"));
    }

    void photoButton()
    {
        ChangeScene scene;
        scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTFOT = 'VIEJA.BMP'"));
        scene.shop.dm->Stock->refresh();
        // Cancelled: the photo the article had stays.
        scene.window.BitBtn1->click();
        QCOMPARE(scene.stored(QStringLiteral("ARTFOT")).toString(), QStringLiteral("VIEJA.BMP"));
        scene.shop.dialogs.fileAnswers.enqueue(QStringLiteral("/fotos/nueva.bmp"));
        scene.window.BitBtn1->click();
        QCOMPARE(scene.stored(QStringLiteral("ARTFOT")).toString(), QStringLiteral("/FOTOS/NUEVA.BMP"));
        QCOMPARE(scene.window.DBEdit7->text(), QStringLiteral("/FOTOS/NUEVA.BMP"));
    }
};

QTEST_MAIN(TestModArt)
#include "tst_modart.moc"
