// The price verifier: own code before supplier code, the box emptied for the next code, an unknown
// code reported, and the ways the main window and the sales window open it.
#include "../sales/VentasShop.h"

#include "catalogue/Precios.h"
#include "platform/db/Table.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PickList.h"
#include "sales/Ventas.h"
#include "shell/Ficha1.h"
#include "shell/PanelWidgets.h"

#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QTest>

class TestPrecios : public QObject {
    Q_OBJECT

    std::unique_ptr<VentasShop> shop;
    std::unique_ptr<vx::ui::FakeDialogs> dialogs;
    std::unique_ptr<TFPrecios> w;

    void lookUp(const QString &code)
    {
        QTest::keyClicks(w->EdCod, code);
        QTest::keyClick(w->EdCod, Qt::Key_Return);
    }

private slots:
    void init()
    {
        shop = std::make_unique<VentasShop>();
        // The second article's supplier code is the first one's own code.
        shop->addArticle(QStringLiteral("7790000000011"), QStringLiteral("REMERA AZUL"), QStringLiteral("RA-1"), 4, 100,
                         95);
        shop->addArticle(QStringLiteral("7790000000028"), QStringLiteral("PANTALON NEGRO"),
                         QStringLiteral("7790000000011"), 2, 50, 45);
        dialogs = std::make_unique<vx::ui::FakeDialogs>();
        w = std::make_unique<TFPrecios>();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    void cleanup()
    {
        w.reset();
        dialogs.reset();
        shop.reset();
    }

    void ownCodeComesBeforeSupplierCode()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Verificador de Precios"));
        lookUp(QStringLiteral("7790000000011"));
        QCOMPARE(w->DBEdit1->text(), QStringLiteral("REMERA AZUL"));
        QCOMPARE(w->DBEdit5->text(), QStringLiteral("7790000000011"));
        QVERIFY(dialogs->shown.isEmpty());

        lookUp(QStringLiteral("ra-1"));
        QCOMPARE(w->DBEdit1->text(), QStringLiteral("REMERA AZUL"));
        QCOMPARE(w->DBEdit4->text(), QStringLiteral("RA-1"));
        QVERIFY(!w->DBEdit2->text().isEmpty());
        QVERIFY(dialogs->shown.isEmpty());
        // The verifier writes nothing: its price boxes refuse typing.
        QVERIFY(w->DBEdit2->isReadOnly() && w->DBEdit3->isReadOnly());
    }

    void codeBoxEmptiesAndTheArticleStays()
    {
        lookUp(QStringLiteral("7790000000028"));
        QCOMPARE(w->EdCod->text(), QString());
        QCOMPARE(w->DBEdit1->text(), QStringLiteral("PANTALON NEGRO"));
        // Leaving the empty box does nothing.
        w->BCerrar->setFocus();
        w->EdCod->setFocus();
        QCOMPARE(w->DBEdit1->text(), QStringLiteral("PANTALON NEGRO"));
        QVERIFY(dialogs->shown.isEmpty());
    }

    void unknownCodeIsReported()
    {
        lookUp(QStringLiteral("NADA"));
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{QStringLiteral("No se encuentra el producto...")});
        QCOMPARE(w->EdCod->text(), QString());
        QVERIFY(!w->Stock->active());
        QVERIFY(!w->Image1->isVisible());
    }

    void photoIsShownWhenTheArticleHasOne()
    {
        const QString photo = shop->root.file(QStringLiteral("remera.png"));
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(photo));
        shop->db().execute(QStringLiteral("UPDATE STOCK SET ARTFOT = ? WHERE ARTCMCT = '7790000000011'"), {photo});
        lookUp(QStringLiteral("7790000000011"));
        QVERIFY(w->Image1->isVisible());
        QCOMPARE(w->Image1->picture().size(), QSize(20, 10));

        // The next article has no photo: the previous one's is not left on show.
        lookUp(QStringLiteral("7790000000028"));
        QCOMPARE(w->DBEdit1->text(), QStringLiteral("PANTALON NEGRO"));
        QVERIFY(!w->Image1->isVisible());
        QVERIFY(w->Image1->picture().isNull());

        // A photo that cannot be read is reported; the prices show all the same.
        shop->db().execute(QStringLiteral("UPDATE STOCK SET ARTFOT = 'falta.png' WHERE ARTCMCT = '7790000000028'"));
        lookUp(QStringLiteral("7790000000028"));
        QCOMPARE(dialogs->texts(QStringLiteral("error")).size(), 1);
        QCOMPARE(w->DBEdit1->text(), QStringLiteral("PANTALON NEGRO"));
    }

    void openedFromTheMainWindowAndTheSalesWindow()
    {
        w.reset();
        TFF1 main;
        main.BPrecios->click();
        main.VerificarPrecios1->trigger();
        QTest::keyClick(&main, Qt::Key_F2);
        QTest::mouseClick(main.StaticText1, Qt::LeftButton);
        const QStringList opened = dialogs->texts(QStringLiteral("modal"));
        QCOMPARE(opened, QStringList(4, QStringLiteral("FPrecios")));

        TFVentas sales;
        QVERIFY(sales.prepareOpening());
        QTest::keyClick(sales.CBCod, Qt::Key_F2);
        QCOMPARE(dialogs->texts(QStringLiteral("modal")).size(), 5);
        sales.finishClosing();
    }
};

QTEST_MAIN(TestPrecios)
#include "tst_precios.moc"
