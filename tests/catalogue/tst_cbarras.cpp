// The barcode window: labels printed through the print dialog to PDF, rasterised at 600 dpi and
// read back by zbarimg and pdftotext; codes a type refuses print nothing; the main window's
// two commands.
#include "CatalogueShop.h"

#include "../platform/ReportPdfReader.h"

#include "barcode/pBarCode.h"
#include "barcode/pDBBarcode.h"
#include "catalogue/CBarras.h"
#include "platform/core/Paths.h"
#include "platform/ui/DBGrid.h"
#include "shell/Ficha1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int dpi = 600;

struct LabelScene {
    CatalogueShop shop;
    TFBarCode window;
    QTemporaryDir dir;

    LabelScene()
    {
        shop.addArticle(QStringLiteral("7791234567898"), QStringLiteral("REMERA LISA"));
        shop.addArticle(QStringLiteral("0000000100005"), QStringLiteral("CAMISA AZUL"));
        window.prepare();
        window.show();
    }
    // The operator picks the article in the grid with a double click.
    void pick(const QString &code)
    {
        QVERIFY(window.stock().locate(QStringLiteral("ARTCMCT"), code));
        const QModelIndex cell = window.DBGrid1->model()->index(window.stock().recNo() - 1, 1);
        const QRect rect = window.DBGrid1->visualRect(cell);
        QTest::mouseClick(window.DBGrid1->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(window.DBGrid1->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void chooseType(const QString &type)
    {
        window.CBBarType->setFocus();
        const int index = window.CBBarType->findText(type);
        while (window.CBBarType->currentIndex() != index)
            QTest::keyClick(window.CBBarType, index > window.CBBarType->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
    }
    // Prints through the fake print dialog; the page's top left rasterised at 600 dpi, or a null image when
    // nothing was printed.
    QImage print(const QString &name)
    {
        const QString pdfPath = dir.filePath(name + QStringLiteral(".pdf"));
        shop.dialogs.printAnswers.enqueue(true);
        shop.dialogs.onPrint = [&](QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdfPath);
            printer->setResolution(dpi);
            printer->setFullPage(true);
        };
        QTest::mouseClick(window.Imprimir, Qt::LeftButton);
        shop.dialogs.printAnswers.clear();
        if (!QFileInfo::exists(pdfPath))
            return {};
        const QString png = dir.filePath(name);
        // The top left of the page, where the label is, in grey.
        pdf::run(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), QStringLiteral("-png"),
                  QStringLiteral("-W"), QStringLiteral("2600"), QStringLiteral("-H"), QStringLiteral("2600"),
                  QStringLiteral("-singlefile"), pdfPath, png});
        return QImage(png + QStringLiteral(".png"));
    }
    QString scanned(const QString &name)
    {
        return pdf::run(QStringLiteral("zbarimg"), {QStringLiteral("-q"), dir.filePath(name + QStringLiteral(".png"))})
            .trimmed();
    }
};

bool dark(const QImage &page, int x, int y)
{
    return qGray(page.pixel(x, y)) < 128;
}

// The bars' box below `fromY`: left, top, width, and the height of the leftmost bar.
QRect bars(const QImage &page, int fromY)
{
    int left = page.width(), right = -1, top = page.height();
    for (int y = fromY; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (dark(page, x, y)) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
            }
        }
    }
    int bottom = top;
    while (bottom + 1 < page.height() && dark(page, left + 1, bottom + 1))
        ++bottom;
    return QRect(left, top, right - left + 1, bottom - top + 1);
}

int firstBarWidth(const QImage &page, const QRect &box)
{
    int x = box.left();
    while (dark(page, x, box.top() + 10))
        ++x;
    return x - box.left();
}

}  // namespace

class TestCBarras : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"pdftoppm", "zbarimg", "pdftotext"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("poppler-utils and zbar-tools (scripts/install-deps) read the printed labels");
        }
    }

    void labelsScanBackAsTheOwnCode()
    {
        LabelScene scene;
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.pick(QStringLiteral("7791234567898"));
        QCOMPARE(scene.window.Edit1->text(), QStringLiteral("7791234567898"));
        QCOMPARE(scene.window.Edit2->text(), QStringLiteral("REMERA LISA"));
        QCOMPARE(scene.window.DBBarcode1->BarCode(), QStringLiteral("7791234567898"));
        QVERIFY(scene.window.LabAviso->text().isEmpty());
        CatalogueShop::screenshot(scene.window, QStringLiteral("cbarras"));

        const int module = qRound(dpi * 0.35 / 25.4);
        struct Case {
            const char *type, *name, *expected;
            bool emptyBoxes;
            int modules;  // the symbol's width
        };
        const Case cases[] = {
            {"bcCodeEAN13", "ean13", "EAN-13:7791234567898", false, 95},
            {"bcCode39", "code39", "CODE-39:7791234567898", false, 0},
            {"bcCodeEAN13", "empty", "EAN-13:7791234567898", true, 95},
        };
        for (const Case &c : cases) {
            scene.chooseType(QString::fromLatin1(c.type));
            for (QLineEdit *box : {scene.window.EdAlto, scene.window.EdMI, scene.window.edMS, scene.window.EdMID,
                                   scene.window.EdMSD}) {
                if (c.emptyBoxes)
                    box->clear();
            }
            const QImage page = scene.print(QString::fromLatin1(c.name));
            QVERIFY2(!page.isNull(), c.name);
            QCOMPARE(scene.scanned(QString::fromLatin1(c.name)), QString::fromLatin1(c.expected));
            const QRect box = bars(page, 400);
            QVERIFY2(qAbs(box.left() - qRound(10 * dpi / 25.4)) <= 1, qPrintable(QString::number(box.left())));
            QVERIFY2(qAbs(box.top() - qRound(20 * dpi / 25.4)) <= 1, qPrintable(QString::number(box.top())));
            const int height = qRound((c.emptyBoxes ? 20 : 15) * dpi / 25.4);
            QVERIFY2(qAbs(box.height() - height) <= 1, qPrintable(QString::number(box.height())));
            QCOMPARE(firstBarWidth(page, box), module);
            if (c.modules > 0)
                QCOMPARE(box.width(), c.modules * module);
        }
        // The text line's top-left corner at printer pixel (100, 200): 12 pt, 24 pt.
        const QString words = pdf::run(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-bbox"), scene.dir.filePath(QStringLiteral("ean13.pdf")),
                                        QStringLiteral("-")});
        static const QRegularExpression remera(
            QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>REMERA<"));
        const QRegularExpressionMatch at = remera.match(words);
        QVERIFY2(at.hasMatch(), qPrintable(words));
        QVERIFY2(qAbs(at.captured(1).toDouble() - 12.0) < 1.0, qPrintable(at.captured(1)));
        QVERIFY2(qAbs(at.captured(2).toDouble() - 24.0) < 1.5, qPrintable(at.captured(2)));
    }

    void refusedOrEmptyCodesPrintNothing()
    {
        LabelScene scene;
        scene.chooseType(QStringLiteral("bcCodeEAN13"));
        struct Case {
            const char *typed, *warning;
            bool prints;
        };
        const Case cases[] = {
            {"", "", false},
            {"ABC", "ABC: Barcode must be numeric.", false},
            {"7791234567890", "El último dígito no es el verificador de EAN-13 (sería 8): el lector no leerá este código.",
             true},
            {"100007", "Al escanearlo se leerá 0000000100007, no 100007.", true},
        };
        for (const Case &c : cases) {
            scene.window.Edit1->clear();
            QTest::keyClicks(scene.window.Edit1, QString::fromLatin1(c.typed));
            QCOMPARE(scene.window.LabAviso->text(), QString::fromUtf8(c.warning));
            const int before = scene.shop.dialogs.texts(QStringLiteral("print")).size();
            const QImage page = scene.print(QStringLiteral("refused"));
            QCOMPARE(page.isNull(), !c.prints);
            QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("print")).size(), before + (c.prints ? 1 : 0));
            QFile::remove(scene.dir.filePath(QStringLiteral("refused.pdf")));
        }
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("message")).size(), 2);
        // A box that is not a whole number stops the print before the dialog.
        scene.window.EdMI->setText(QStringLiteral("1,5"));
        QVERIFY(scene.print(QStringLiteral("bad")).isNull());
        QCOMPARE(scene.shop.dialogs.shown.last().kind, QStringLiteral("error"));
    }

    void mainWindowCommands()
    {
        CatalogueShop shop;
        shop.addArticle(QStringLiteral("0000000100005"), QStringLiteral("CAMISA AZUL"));
        TFF1 main;
        main.CdBarras1Click();
        QVERIFY(FBarCode && FBarCode->isVisible() && !FBarCode->isModal());
        QCOMPARE(FBarCode->DBBarcode1->BarCode(), QStringLiteral("0000000100005"));
        // Another window closing the shared Stock leaves the list alone.
        shop.dm->Stock->open();
        shop.dm->Stock->close();
        QVERIFY(FBarCode->stock().active());
        QTest::keyClick(FBarCode, Qt::Key_Escape);
        QVERIFY(!FBarCode->stock().active());

        shop.dialogs.openAnswers.enqueue(false);
        main.CodBarrasA41Click();
        QCOMPARE(shop.dialogs.texts(QStringLiteral("openDocument")).last(),
                 QDir(vx::paths::userFolder()).filePath(QStringLiteral("Tagmill.exe")));
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")),
                 QStringList{QStringLiteral("Función no habilitada o archivo no encontrado...")});
    }
};

QTEST_MAIN(TestCBarras)
#include "tst_cbarras.moc"
