// The article search window over the shared Stock table: modes, incremental search, the reorder
// view, title sorting, modify, delete and the printed list; and the main window's two commands.
#include "CatalogueShop.h"

#include "../platform/ReportPdfReader.h"

#include "catalogue/ABMArt.h"
#include "catalogue/ConsArt.h"
#include "catalogue/MODArt.h"
#include "platform/report/ReportPreview.h"
#include "platform/ui/DBGrid.h"
#include "data/ShopSetup.h"
#include "shell/Ficha1.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

struct SearchScene {
    CatalogueShop shop;
    TFModArt change;
    TFBuscando window;

    explicit SearchScene(int level = 9) : shop(level)
    {
        shop.addArticle(QStringLiteral("0000000100005"), QStringLiteral("REMERA BLANCA"), 3, 0, 3, 10.0, QStringLiteral("Z-1"));
        shop.addArticle(QStringLiteral("0000000100002"), QStringLiteral("CAMISA AZUL"), 2, 0, 3, 20.0, QStringLiteral("B-7"));
        shop.addArticle(QStringLiteral("0000000200001"), QStringLiteral("CAMPERA NEGRA"), 4, 1, 3, 30.0, QStringLiteral("A-2"));
        shop.addArticle(QStringLiteral("0000000000007"), QStringLiteral("BUZO GRIS"), 5, 0, 1, 40.0, QStringLiteral("C-9"));
        shop.dm->Stock->open();
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }
    QString current() const { return shop.dm->Stock->fieldByName(QStringLiteral("ARTCMCT"))->asString(); }
    void chooseMode(const QString &mode)
    {
        window.CB1->setCurrentText(mode);
        window.CB1Exit();
    }
    void type(const QString &text)
    {
        window.EdBusca->setFocus();
        window.EdBusca->clear();
        QTest::keyClicks(window.EdBusca, text);
    }
    void goTo(const QString &code) { QVERIFY(shop.dm->Stock->locate(QStringLiteral("ARTCMCT"), code)); }
    QStringList messages() const { return shop.dialogs.texts(QStringLiteral("message")); }
    QStringList questions() const { return shop.dialogs.texts(QStringLiteral("confirm")); }
};

namespace {

// The lines of the printed list below its column titles.
QStringList printedLines(SearchScene &scene, const QString &pdfPath)
{
    scene.shop.dialogs.fileAnswers.enqueue(pdfPath);
    scene.shop.dialogs.onModal = [](QDialog *dialog) {
        if (auto *preview = qobject_cast<vx::report::ReportPreview *>(dialog))
            preview->savePdf();
        return int(QDialog::Accepted);
    };
    scene.window.BBImp->click();
    const QString folder = qEnvironmentVariable("VX_SCREENSHOTS");
    if (!folder.isEmpty())
        QFile::copy(pdfPath, QDir(folder).filePath(QFileInfo(pdfPath).fileName()));
    const QStringList pages = pdf::pages(pdfPath);
    if (pages.size() != 1)
        return {QStringLiteral("<%1 pages>").arg(pages.size())};
    QStringList lines = pages.first().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    while (!lines.isEmpty() && !lines.first().contains(QStringLiteral("Ult.Egreso")))
        lines.removeFirst();
    if (!lines.isEmpty())
        lines.removeFirst();
    QStringList out;
    for (const QString &line : lines) {
        if (!line.trimmed().isEmpty() && !line.contains(QStringLiteral("Hoja")))
            out << line.simplified();
    }
    return out;
}

}  // namespace

class TestBuscando : public QObject {
    Q_OBJECT

private slots:
    void ownCodeOriginAndDescriptionAsTheOperatorTypes()
    {
        SearchScene scene;
        QVERIFY(scene.ready());
        QCOMPARE(scene.window.CB1->currentText(), TFBuscando::byOwnCode());
        scene.type(QStringLiteral("00000001"));
        QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTCMCT"));
        QCOMPARE(scene.current(), QStringLiteral("0000000100002"));
        // A prefix no code has leaves the article where it was.
        scene.type(QStringLiteral("9"));
        QCOMPARE(scene.current(), QStringLiteral("0000000100002"));

        scene.chooseMode(TFBuscando::byDescription());
        QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTDES"));
        scene.type(QStringLiteral("camp"));
        QCOMPARE(scene.window.EdBusca->text(), QStringLiteral("CAMP"));
        QCOMPARE(scene.current(), QStringLiteral("0000000200001"));
        scene.type(QStringLiteral("CAMI"));
        QCOMPARE(scene.current(), QStringLiteral("0000000100002"));

        scene.chooseMode(TFBuscando::byOrigin());
        scene.type(QStringLiteral("C"));
        QCOMPARE(scene.current(), QStringLiteral("0000000000007"));

        // The double click searches in the order as it is.
        scene.shop.dm->Stock->setSort(QStringLiteral("ARTCOD DESC"));
        scene.window.EdBusca->setText(QStringLiteral("Z"));
        QTest::mouseDClick(scene.window.EdBusca, Qt::LeftButton);
        QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTCOD DESC"));
        QCOMPARE(scene.current(), QStringLiteral("0000000100005"));
        CatalogueShop::screenshot(scene.window, QStringLiteral("FBuscando"));
    }

    // On opening, typing chooses the mode; once one is chosen, typing goes to the search box.
    void typingChoosesTheModeThenSearches()
    {
        SearchScene scene;
        QVERIFY(scene.ready());
        for (int opening = 0; opening < 2; ++opening) {
            QCOMPARE(QApplication::focusWidget(), scene.window.CB1);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("D"));
            QCOMPARE(scene.window.CB1->currentText(), TFBuscando::byDescription());
            QCOMPARE(QApplication::focusWidget(), scene.window.EdBusca);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("campe"));
            QCOMPARE(scene.window.EdBusca->text(), QStringLiteral("CAMPE"));
            QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTDES"));
            QCOMPARE(scene.current(), QStringLiteral("0000000200001"));
            // Closed from the search box and opened again: the mode list has the keyboard again.
            QTest::keyClick(scene.window.EdBusca, Qt::Key_Escape);
            QVERIFY(!scene.window.isVisible());
            scene.window.show();
            scene.window.activateWindow();
            QVERIFY(scene.ready());
            // A key typed later than this starts a new word in the list's keyboard search.
            QTest::qWait(QApplication::keyboardInputInterval() + 50);
        }
    }

    void reorderViewListsAndMarks()
    {
        SearchScene scene;
        scene.chooseMode(TFBuscando::byReorder());
        vx::Table &stock = *scene.shop.dm->Stock;
        QVERIFY(stock.filtered());
        QCOMPARE(stock.sort(), QStringLiteral("ARTEX1"));
        QCOMPARE(stock.recordCount(), 2);  // 3 of 3 and 2 of 3; not 4 of 3 nor 5 of 1
        QCOMPARE(scene.current(), QStringLiteral("0000000100002"));

        const vx::ui::DatasetModel *model = scene.window.DBGrid1->datasetModel();
        const auto background = [model](int row, int column) {
            return model->data(model->index(row, column), Qt::BackgroundRole).value<QColor>();
        };
        QCOMPARE(background(0, 0), TFBuscando::reorderColor());  // stock 2, point 3
        QCOMPARE(background(0, 5), TFBuscando::reorderColor());
        QVERIFY(background(1, 0) != TFBuscando::reorderColor());  // stock 3, point 3
        QCOMPARE(model->data(model->index(1, 0)).toString(), QStringLiteral("0000000100005"));

        // Typing in this mode sorts by the reorder point and keeps the view.
        scene.type(QStringLiteral("X"));
        QCOMPARE(stock.sort(), QStringLiteral("ARTREP"));
        QCOMPARE(stock.recordCount(), 2);
        CatalogueShop::screenshot(scene.window, QStringLiteral("FBuscando-reorder"));

        // Another mode shows every article again.
        scene.chooseMode(TFBuscando::byOwnCode());
        QCOMPARE(stock.recordCount(), 4);
    }

    void titleClicksAlternate()
    {
        SearchScene scene;
        const int description = scene.window.DBGrid1->columnOf(QStringLiteral("ARTDES"));
        scene.window.DBGrid1TitleClick(description);
        QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTDES ASC"));
        scene.shop.dm->Stock->first();
        QCOMPARE(scene.current(), QStringLiteral("0000000000007"));  // BUZO
        scene.window.DBGrid1TitleClick(description);
        QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTDES DESC"));
        scene.shop.dm->Stock->first();
        QCOMPARE(scene.current(), QStringLiteral("0000000100005"));  // REMERA
        QVERIFY(scene.window.DBGrid1->titleBold(description));
        const int cost = scene.window.DBGrid1->columnOf(QStringLiteral("ARTCOS1"));
        scene.window.DBGrid1TitleClick(cost);
        QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTCOS1 ASC"));
        QVERIFY(!scene.window.DBGrid1->titleBold(description));
        QVERIFY(scene.window.DBGrid1->titleBold(cost));
    }

    void modifyOpensTheChangeWindowOnTheArticle()
    {
        SearchScene scene;
        scene.goTo(QStringLiteral("0000000200001"));
        QString shownOn;
        scene.shop.dialogs.onModal = [&](QDialog *) {
            shownOn = scene.current();
            scene.shop.dm->Stock->close();
            return int(QDialog::Accepted);
        };
        scene.window.BBModifi->click();
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("modal")), QStringList{QStringLiteral("FModArt")});
        QCOMPARE(shownOn, QStringLiteral("0000000200001"));
        QCOMPARE(uGlobales::session().currentArticleCode, QStringLiteral("0000000200001"));
        QVERIFY(scene.shop.dm->Stock->active());
    }

    void deletingAnArticleWithoutMovements()
    {
        SearchScene scene(1);
        scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = 0, ARTEX2 = 0 WHERE ARTCMCT = '0000000200001'"));
        scene.shop.dm->Stock->refresh();
        scene.goTo(QStringLiteral("0000000200001"));
        // Answered No: nothing happens.
        scene.window.BBEliminar->click();
        QCOMPARE(scene.questions(), QStringList{QStringLiteral("Desea eliminar el Articulo: \r\n0000000200001 - CAMPERA NEGRA")});
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 4);

        scene.shop.dialogs.confirmAnswers.enqueue(true);
        scene.window.BBEliminar->click();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Articulo eliminado...")});
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 3);
        QCOMPARE(scene.shop.dm->Stock->recordCount(), 3);
        QCOMPARE(scene.questions().size(), 2);
    }

    void anArticleWithStockIsNotDeleted()
    {
        SearchScene scene(9);
        scene.goTo(QStringLiteral("0000000100002"));
        scene.shop.dialogs.confirmAnswers.enqueue(true);
        scene.window.BBEliminar->click();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("No se puede eliminar un articulo con cantidades en stock.")});
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 4);
    }

    void anArticleWithReceiptsAtLevelOneAndNine()
    {
        const QString code = QStringLiteral("0000000200001");
        {
            SearchScene scene(1);
            scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = 0, ARTEX2 = 0"));
            scene.shop.addReceipt(code, 4);
            scene.shop.dm->Stock->refresh();
            scene.goTo(code);
            scene.shop.dialogs.confirmAnswers.enqueue(true);
            scene.window.BBEliminar->click();
            QCOMPARE(scene.messages(),
                     QStringList{QStringLiteral("No se puede eliminar un articulo con movimientos registrados...")});
            QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 4);
        }
        SearchScene scene(9);
        scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = 0, ARTEX2 = 0"));
        scene.shop.addReceipt(code, 4);
        scene.shop.addIssue(code, 4);
        scene.shop.addMovement(code, QStringLiteral("I"), 4);
        scene.shop.dm->Stock->refresh();
        scene.goTo(code);
        // The second question answered No keeps everything.
        scene.shop.dialogs.confirmAnswers << true << false;
        scene.window.BBEliminar->click();
        QCOMPARE(scene.questions().size(), 2);
        QVERIFY(scene.questions().last().startsWith(QStringLiteral("ATENCION: Este articulo tiene movimientos registrados...")));
        QVERIFY(scene.messages().isEmpty());
        QCOMPARE(scene.shop.count(QStringLiteral("INGRESOS")), 1);

        scene.shop.dialogs.confirmAnswers << true << true;
        scene.window.BBEliminar->click();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Articulo eliminado...")});
        QCOMPARE(scene.shop.count(QStringLiteral("STOCK")), 3);
        QCOMPARE(scene.shop.count(QStringLiteral("INGRESOS")), 0);
        QCOMPARE(scene.shop.count(QStringLiteral("EGRESOS")), 0);
        QCOMPARE(scene.shop.count(QStringLiteral("MOVIM")), 0);
    }

    void aDeleteWhileARecordingRunsSaysSo()
    {
        SearchScene scene(9);
        scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = 0, ARTEX2 = 0"));
        scene.shop.dm->Stock->refresh();
        scene.goTo(QStringLiteral("0000000000007"));
        vx::Transaction other(scene.shop.db());
        scene.shop.dialogs.confirmAnswers.enqueue(true);
        scene.window.BBEliminar->click();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Archivos ocupados, intente en unos instantes.")});
        QCOMPARE(scene.shop.dm->Stock->recordCount(), 4);
    }

    void closingEmptiesTheSearchAndTurnsTheFilterOff()
    {
        SearchScene scene;
        scene.chooseMode(TFBuscando::byReorder());
        scene.type(QStringLiteral("A"));
        scene.window.BCerrar->click();
        QCOMPARE(scene.window.CB1->currentText(), QString());
        QCOMPARE(scene.window.EdBusca->text(), QString());
        QVERIFY(!scene.shop.dm->Stock->filtered());
        QVERIFY(!scene.window.isVisible());
        QCOMPARE(scene.shop.dm->Stock->sort(), QStringLiteral("ARTREP"));
    }

    void printedListHasOneLinePerArticleOrTwoAtLevelNine()
    {
        for (const int level : {2, 9}) {
            SearchScene scene(level);
            scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTCOS2 = 11.25, ARTVEN2 = 99.5"));
            scene.shop.dm->Stock->refresh();
            scene.chooseMode(TFBuscando::byOwnCode());
            const QStringList lines = printedLines(scene, scene.shop.root.file(QStringLiteral("lista%1.pdf").arg(level)));
            if (level == 2) {
                QCOMPARE(lines.size(), 4);
            } else {
                QCOMPARE(lines.size(), 8);
                QCOMPARE(lines[1], QStringLiteral("0,00 11,25 99,50"));
                QCOMPARE(lines[7], QStringLiteral("1,00 11,25 99,50"));
            }
            const int step = level == 9 ? 2 : 1;
            QVERIFY2(lines[0].startsWith(QStringLiteral("0000000000007 BUZO GRIS 1 5,00 40,00")), qPrintable(lines[0]));
            QVERIFY2(lines[step].startsWith(QStringLiteral("0000000100002 CAMISA AZUL 3 2,00 20,00")), qPrintable(lines[step]));
            QVERIFY(!scene.shop.dialogs.texts(QStringLiteral("modal")).isEmpty());
            const QString header = pdf::pages(scene.shop.root.file(QStringLiteral("lista%1.pdf").arg(level))).first();
            QVERIFY(header.contains(QStringLiteral("Listado de Articulos al ")));
            for (const char *title : {"Articulo", "Descripcion", "Pto.Rep.", "Cant.", "Costo", "Venta", "Ult.Ingreso"})
                QVERIFY2(header.contains(QLatin1String(title)), title);
        }
    }

    void anEmptyListIsStillPrinted()
    {
        SearchScene scene(2);
        scene.shop.db().execute(QStringLiteral("DELETE FROM STOCK"));
        scene.shop.dm->Stock->refresh();
        const QStringList lines = printedLines(scene, scene.shop.root.file(QStringLiteral("vacia.pdf")));
        QVERIFY(lines.isEmpty());
        QVERIFY(pdf::pages(scene.shop.root.file(QStringLiteral("vacia.pdf"))).first().contains(QStringLiteral("Listado de Articulos al ")));
    }

    void startupCreatesTheArticleWindowsOnce()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the program's start-up opens the shop its data-link file names");
        {
            TempRoot root;
            data::createShop({QStringLiteral("admin"), false});
            vx::ui::FakeDialogs dialogs;
            Startup startup;
            QVERIFY(startup.createWindows());
            QVERIFY(FABMArt && FModArt && FBuscando);
            QCOMPARE(FBuscando->windowTitle(), QStringLiteral("CONSULTA de ARTICULOS"));
            QCOMPARE(FABMArt->windowTitle(), QStringLiteral("Articulos"));
            QCOMPARE(FModArt->windowTitle(), QStringLiteral("Modificaion de Articulos"));
            QVERIFY(!FABMArt->isVisible() && !FBuscando->isVisible());
        }
        QVERIFY(!FABMArt && !FModArt && !FBuscando);
    }

    void mainWindowCommandsOpenAndTidyUp()
    {
        CatalogueShop shop;
        TFABMArt articles;
        TFModArt change;
        TFBuscando search;
        TFF1 main;
        vx::Table &stock = *shop.dm->Stock;
        bool openWhileShown = false;
        shop.dialogs.onModal = [&](QDialog *) {
            openWhileShown = stock.active();
            stock.setFiltered(true);
            return int(QDialog::Accepted);
        };
        main.Articulo1Click();
        QVERIFY(openWhileShown);
        QVERIFY(!stock.active());
        openWhileShown = false;
        main.BMC1Click();
        QVERIFY(openWhileShown);
        QVERIFY(!stock.active());
        QVERIFY(!stock.filtered());
        QCOMPARE(shop.dialogs.texts(QStringLiteral("modal")), (QStringList{QStringLiteral("FABMArt"), QStringLiteral("FBuscando")}));
    }
};

QTEST_MAIN(TestBuscando)
#include "tst_buscando.moc"
