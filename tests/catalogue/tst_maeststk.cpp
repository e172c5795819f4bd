// The stock list: exact totals in any order, the own-code range, the printed list and the export,
// on the window's own cursor whatever the other windows do with the shared Stock.
#include "CatalogueShop.h"

#include "../export/LibreOfficeCsv.h"
#include "../platform/ReportPdfReader.h"

#include "catalogue/MaestStk.h"
#include "catalogue/MaestStkExport.h"
#include "export/DataToXLS.h"
#include "platform/report/ReportPreview.h"
#include "platform/ui/DBGrid.h"
#include "platform/report/ReportProgress.h"
#include "shell/Ficha1.h"
#include "app/Aguarde.h"

#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct StockScene {
    CatalogueShop shop;
    TFMArt window;

    void add(const QString &code, const QString &description, double quantity, double price)
    {
        data::RowInserter(shop.db(), QStringLiteral("STOCK"),
                          {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTEX1"),
                           QStringLiteral("ARTEX2"), QStringLiteral("ARTCOS1"), QStringLiteral("ARTCOS2"),
                           QStringLiteral("ARTVEN1"), QStringLiteral("ARTVEN2")})
            .insert({code, description, quantity, quantity, price, price, price, price});
    }
    // 200 articles of 1 unit at 0,30 and one of 0,5 at 0,01: 60,005 in each valuation.
    void addCentShop()
    {
        vx::Transaction work(shop.db());
        for (int i = 1; i <= 200; ++i)
            add(QStringLiteral("%1").arg(i, 13, 10, QLatin1Char('0')), QStringLiteral("ART %1").arg(300 - i), 1, 0.30);
        add(QStringLiteral("0000000000999"), QStringLiteral("MEDIA"), 0.5, 0.01);
        work.commit();
    }
    void open()
    {
        window.prepare();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.CalcTotales();
    }
    QStringList totals() const
    {
        return {window.EdTot1->text(), window.EdTot2->text(), window.EdVen1->text(), window.EdVen2->text(),
                window.EdDepo1->text(), window.EdDepo2->text()};
    }
    QStringList codes()
    {
        QStringList out;
        vx::Table &stock = window.stock();
        for (stock.first(); !stock.eof(); stock.next())
            out << stock.fieldByName(QStringLiteral("ARTCMCT"))->asString().right(3);
        return out;
    }
    void typeRange(const QString &from, const QString &to)
    {
        window.EdDesA->setFocus();
        window.EdDesA->clear();
        QTest::keyClicks(window.EdDesA, from);
        QTest::keyClick(window.EdDesA, Qt::Key_Tab);
        window.EdHasA->clear();
        QTest::keyClicks(window.EdHasA, to);
        QTest::mouseClick(window.BCons, Qt::LeftButton);
    }
    void clickTitle(int column)
    {
        QHeaderView *header = window.DBGrid1->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
};

}  // namespace

class TestMaestStk : public QObject {
    Q_OBJECT

private slots:
    void totalsAreExactInAnyOrderAndRange()
    {
        StockScene scene;
        scene.addCentShop();
        scene.open();
        const QStringList whole{"60,01", "60,01", "60,01", "60,01", "200,5", "200,5"};
        QCOMPARE(scene.totals(), whole);
        CatalogueShop::screenshot(scene.window, QStringLiteral("maeststk"));
        // Whatever the order, the same figures: description, quantity, and quantity descending.
        for (const int column : {1, 2, 2}) {
            scene.clickTitle(column);
            scene.window.EdTot1->clear();
            QTest::mouseClick(scene.window.BTotales, Qt::LeftButton);
            QCOMPARE(scene.totals(), whole);
        }
        QCOMPARE(scene.window.stock().sort(), QStringLiteral("ARTEX1 DESC"));
        // The last article alone, then the whole list again.
        scene.typeRange(QStringLiteral("999"), QString());
        QCOMPARE(scene.totals(), (QStringList{"0,01", "0,01", "0,01", "0,01", "0,5", "0,5"}));
        QTest::mouseClick(scene.window.Button1, Qt::LeftButton);
        QCOMPARE(scene.totals(), whole);
        QVERIFY(scene.window.EdDesA->text().isEmpty() && scene.window.EdHasA->text().isEmpty());
    }

    void rangeIsPaddedQuotedAndOpenEnded()
    {
        StockScene scene;
        for (int i = 1; i <= 7; ++i)
            scene.add(QStringLiteral("%1").arg(i, 13, 10, QLatin1Char('0')), QStringLiteral("A"), 2, 10.5);
        scene.add(QStringLiteral("0000000000D'B"), QStringLiteral("D'ANGELO"), 1, 1);
        scene.open();
        struct Case {
            const char *from, *to, *shownFrom, *shownTo;
            QStringList codes;
            const char *cost;
        };
        const Case cases[] = {
            {"1", "5", "0000000000001", "0000000000005", {"001", "002", "003", "004", "005"}, "105,00"},
            {"6", "", "0000000000006", "", {"006", "007", "D'B"}, "43,00"},
            {"D'A", "D'Z", "0000000000D'A", "0000000000D'Z", {"D'B"}, "1,00"},
            {"", "0", "0000000000000", "0000000000000", {}, "0,00"},
        };
        for (const Case &c : cases) {
            scene.typeRange(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
            QCOMPARE(scene.window.EdDesA->text(), QString::fromUtf8(c.shownFrom));
            QCOMPARE(scene.window.EdHasA->text(), QString::fromUtf8(c.shownTo));
            QCOMPARE(scene.codes(), c.codes);
            QCOMPARE(scene.window.EdTot1->text(), QString::fromUtf8(c.cost));
        }
        QVERIFY(scene.shop.dialogs.shown.isEmpty());
    }

    void otherWindowsLeaveTheListAlone()
    {
        StockScene scene;
        scene.addCentShop();
        scene.open();
        vx::Table &shared = *scene.shop.dm->Stock;
        shared.open();
        shared.setIndexFieldNames(QStringLiteral("ARTDES"));
        shared.setFiltered(true);
        shared.close();
        QCOMPARE(scene.window.stock().recordCount(), 201);
        QCOMPARE(scene.window.stock().sort(), QStringLiteral("ARTCMCT"));
        // Closing the window leaves its list closed and unfiltered, and the range empty.
        scene.typeRange(QStringLiteral("1"), QStringLiteral("5"));
        QTest::keyClick(&scene.window, Qt::Key_Escape);
        QVERIFY(!scene.window.isVisible());
        QVERIFY(!scene.window.stock().active() && !scene.window.stock().filtered());
        QVERIFY(scene.window.EdDesA->text().isEmpty());
    }

    void printedSummaryIsWhatTheBoxesShow()
    {
        StockScene scene;
        scene.addCentShop();
        scene.open();
        scene.typeRange(QStringLiteral("195"), QString());
        scene.clickTitle(1);
        QTemporaryDir dir;
        const QString pdfPath = dir.filePath(QStringLiteral("stock.pdf"));
        scene.shop.dialogs.fileAnswers.enqueue(pdfPath);
        scene.shop.dialogs.onModal = [](QDialog *dialog) {
            if (auto *preview = qobject_cast<vx::report::ReportPreview *>(dialog))
                preview->savePdf();
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(scene.window.BImp, Qt::LeftButton);
        const QStringList pages = pdf::pages(pdfPath);
        QCOMPARE(pages.size(), 1);
        const QString page = pages.first();
        QVERIFY(page.contains(QStringLiteral("LISTADO DE STOCK AL")));
        // Only the range, in the grid's order (by description, so 0000000000999 "MEDIA" last).
        static const QRegularExpression code(QStringLiteral("\\b0000000000\\d{3}\\b"));
        QStringList printed;
        for (auto it = code.globalMatch(page); it.hasNext();)
            printed << it.next().captured().right(3);
        QCOMPARE(printed, (QStringList{"200", "199", "198", "197", "196", "195", "999"}));
        const QString summary = page.mid(page.indexOf(QStringLiteral("Total de Unidades"))).simplified();
        QCOMPARE(scene.window.EdTot1->text(), QStringLiteral("1,81"));
        for (const QString &expected :
             {QStringLiteral("Total de Unidades Depo.1 6,5 Total de Unidades Depo.2 6,5"),
              QStringLiteral("Total Valorizado por Costo: 1,81 Valorizado por Venta: 1,81")})
            QVERIFY2(summary.contains(expected), qPrintable(summary));
        QVERIFY(scene.shop.dialogs.texts(QStringLiteral("error")).isEmpty());
    }

    void longPrintsReportTheirPagesInTheWaitWindow()
    {
        StockScene scene;
        scene.addCentShop();
        TFAguarde wait;
        QStringList progress;
        struct PaintedText : QObject {
            QStringList *texts;
            explicit PaintedText(QStringList *out) : texts(out) {}
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                const QString text = static_cast<QLabel *>(watched)->text();
                if (event->type() == QEvent::Paint && !text.isEmpty() && (texts->isEmpty() || texts->last() != text))
                    *texts << text;
                return false;
            }
        } painted(&progress);
        wait.L1->installEventFilter(&painted);
        vx::report::setProgressQuietTime(0);
        scene.open();
        QTemporaryDir dir;
        const QString pdfPath = dir.filePath(QStringLiteral("printed.pdf"));
        bool waitShownWhilePreviewing = true;
        scene.shop.dialogs.printAnswers.enqueue(true);
        scene.shop.dialogs.onPrint = [&](QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdfPath);
        };
        scene.shop.dialogs.onModal = [&](QDialog *dialog) {
            waitShownWhilePreviewing = wait.isVisible();
            qobject_cast<vx::report::ReportPreview *>(dialog)->printPages();
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(scene.window.BImp, Qt::LeftButton);
        vx::report::setProgressQuietTime(300);
        const int pages = pdf::pageCount(pdfPath);
        QVERIFY(pages > 2);
        QVERIFY(!waitShownWhilePreviewing && !wait.isVisible());
        QVERIFY2(progress.startsWith(QStringLiteral("Preparando hoja 1")), qPrintable(progress.join('|')));
        QVERIFY2(progress.contains(QStringLiteral("Imprimiendo hoja 1 de %1").arg(pages)), qPrintable(progress.join('|')));
    }

    void exportIsReadBackAndReportsOnlyWhatHappened()
    {
        if (LibreOfficeCsv::soffice().isEmpty())
            QSKIP("LibreOffice (scripts/install-deps) reads the exported sheets");
        StockScene scene;
        scene.add(QStringLiteral("0000000000001"), QStringLiteral("REMERA, \"LISA\""), 2, 10.5);
        scene.add(QStringLiteral("0000000000002"), QStringLiteral("ÑANDÚ"), 1, 3);
        scene.open();
        QTemporaryDir dir;
        // Cancelling the file dialog does nothing.
        QTest::mouseClick(scene.window.BExportar, Qt::LeftButton);
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("save")), QStringList{QStringLiteral("Guardar archivo:")});
        QCOMPARE(scene.shop.dialogs.shown.size(), 1);
        // A folder that does not exist: the failure alone.
        scene.shop.dialogs.fileAnswers.enqueue(dir.filePath(QStringLiteral("no/existe.xls")));
        QTest::mouseClick(scene.window.BExportar, Qt::LeftButton);
        QCOMPARE(scene.shop.dialogs.shown.last().kind, QStringLiteral("error"));
        QVERIFY(scene.shop.dialogs.texts(QStringLiteral("message")).isEmpty());

        const QString path = dir.filePath(QStringLiteral("Consulta de Stock.xls"));
        scene.shop.dialogs.fileAnswers.enqueue(path);
        QTest::mouseClick(scene.window.BExportar, Qt::LeftButton);
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Exportación Terminada.")});
        QString error;
        const QStringList rows = LibreOfficeCsv::convert(path, &error);
        QVERIFY2(!rows.isEmpty(), qPrintable(error));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].section(QLatin1Char(','), 0, 0), catalogue::stockSheetTitle());
        QVERIFY(rows[1].startsWith(QStringLiteral("CODIGO PROPIO,Cod.Proveed.,DESCRIPCION,Cant.1,Cant.2,Costo 1")));
        QVERIFY2(rows[2].startsWith(QStringLiteral("0000000000001,,\"REMERA, \"\"LISA\"\"\",2,2,10.5,10.5,10.5,10.5")),
                 qPrintable(rows[2]));
        QVERIFY2(rows[3].startsWith(QStringLiteral("0000000000002,,ÑANDÚ,1,1,3,3,3,3")), qPrintable(rows[3]));
    }

    void aListLongerThanASheetBecomesOneWorkbook()
    {
        if (LibreOfficeCsv::soffice().isEmpty())
            QSKIP("LibreOffice (scripts/install-deps) reads the exported sheets");
        StockScene scene;
        const QString fill = TestDatabase::onPostgres()
            ? QStringLiteral("INSERT INTO STOCK (ARTCMCT, ARTDES, ARTEX1, ARTCOS1) SELECT lpad(i::text, 13, '0'), "
                             "'ART ' || i, 1, 0.3 FROM generate_series(1, 65535) AS i")
            : QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 65535) "
                             "INSERT INTO STOCK (ARTCMCT, ARTDES, ARTEX1, ARTCOS1) "
                             "SELECT printf('%013d', i), 'ART ' || i, 1, 0.3 FROM n");
        scene.shop.db().execute(fill);
        scene.open();
        QCOMPARE(scene.window.EdTot1->text(), QStringLiteral("19660,50"));
        QTemporaryDir dir;
        const QString asked = dir.filePath(QStringLiteral("Consulta de Stock.xls"));
        const QString question =
            QStringLiteral("La lista tiene 65 535 filas y una planilla .xls admite 65 534. ¿Graba un libro .xlsx?");
        // Refused: nothing written, nothing reported.
        scene.shop.dialogs.fileAnswers.enqueue(asked);
        QTest::mouseClick(scene.window.BExportar, Qt::LeftButton);
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("confirm")), QStringList{question});
        QVERIFY(scene.shop.dialogs.texts(QStringLiteral("message")).isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});

        scene.shop.dialogs.fileAnswers.enqueue(asked);
        scene.shop.dialogs.confirmAnswers.enqueue(true);
        QTest::mouseClick(scene.window.BExportar, Qt::LeftButton);
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Exportación Terminada.")});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Consulta de Stock.xlsx")});
        QString error;
        const QStringList rows = LibreOfficeCsv::convert(asked + QLatin1Char('x'), &error);
        QVERIFY2(!rows.isEmpty(), qPrintable(error));
        QCOMPARE(rows.size(), 65537);
        QCOMPARE(rows[0].section(QLatin1Char(','), 0, 0), catalogue::stockSheetTitle());
        QVERIFY(rows[1].startsWith(QStringLiteral("CODIGO PROPIO,Cod.Proveed.,DESCRIPCION,Cant.1")));
        QVERIFY2(rows[2].startsWith(QStringLiteral("0000000000001,,ART 1,1,,0.3,")), qPrintable(rows[2]));
        QVERIFY2(rows.last().startsWith(QStringLiteral("0000000065535,,ART 65535,1,,0.3,")), qPrintable(rows.last()));
    }

    void mainWindowCommandOpensTheListBesideIt()
    {
        StockScene scene;
        scene.addCentShop();
        TFF1 main;
        main.ListadodeStock1Click();
        QVERIFY(FMArt && FMArt->isVisible() && !FMArt->isModal());
        QCOMPARE(FMArt->EdTot1->text(), QStringLiteral("60,01"));
        QCOMPARE(FMArt->stock().sort(), QStringLiteral("ARTCMCT"));
        QVERIFY(scene.shop.dialogs.texts(QStringLiteral("modal")).isEmpty());
    }
};

QTEST_MAIN(TestMaestStk)
#include "tst_maeststk.moc"
