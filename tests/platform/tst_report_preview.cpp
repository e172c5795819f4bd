#include "../common/TestColumns.h"
#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"
#include "ReportPdfReader.h"

#include "platform/db/Table.h"

#include "platform/report/Report.h"
#include "platform/report/ReportPreview.h"
#include "platform/ui/FakeDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace vx::report;
using vx::ui::FakeDialogs;

namespace {

using testschema::column;

// Three rows, each on a page of its own in big letters, under a header with the page number.
void defineThreePages(Report &report, vx::Dataset *rows)
{
    report.setTitle(QStringLiteral("Prueba de vista previa"));
    report.setDataset(rows);
    report.pageHeader(10).pageNumber({0, 0, 190, 6}, QStringLiteral("Hoja %1 de %2")).size(14).bold();
    report.detail(250).field({0, 0, 190, 30}, QStringLiteral("CODE")).size(40).bold();
    report.summary(8).text({0, 0, 100, 6}, QStringLiteral("RESUMEN"));
}

template<class T> T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s in the preview", name);
    return found;
}

// The share of the page image that is ink.
double inked(const QImage &image)
{
    qint64 dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return double(dark) / double(image.width() * image.height());
}

} // namespace

class TestReportPreview : public QObject {
    Q_OBJECT

private slots:
    void navigatesZoomsSavesAndPrints()
    {
        TempRoot root;
        const vx::Schema schema(
            {vx::TableDef{QStringLiteral("ITEMS"),
                          {column("ID", vx::FieldType::AutoInc), column("CODE", vx::FieldType::String, 13)},
                          {}}});
        const auto db = TestDatabase::withSchema(&schema, root.path()).connection;
        for (const char *code : {"PRIMERA", "SEGUNDA", "TERCERA"})
            db->execute(QStringLiteral("INSERT INTO ITEMS (CODE) VALUES (?)"), {QString::fromLatin1(code)});
        vx::Table items(db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("ID"));
        items.open();

        const QString saved = root.file(QStringLiteral("guardado.pdf"));
        const QString printed = root.file(QStringLiteral("impreso.pdf"));
        FakeDialogs dialogs;
        dialogs.fileAnswers << saved;
        dialogs.printAnswers << false << true;
        // The operator asks for pages 2 to 3 only.
        dialogs.onPrint = [&](QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printed);
            printer->setPrintRange(QPrinter::PageRange);
            printer->setFromTo(2, 3);
        };
        QStringList seen;
        QImage first;
        QImage second;
        QImage home;
        int actualWidth = 0;
        double paperWidth = 0;
        int doubleWidth = 0;
        dialogs.onModal = [&](QDialog *window) {
            auto *preview = qobject_cast<ReportPreview *>(window);
            if (!preview)
                return int(QDialog::Rejected);
            auto *page = child<QLabel>(window, "LabPagina");
            auto *next = child<QToolButton>(window, "BSiguiente");
            auto *prior = child<QToolButton>(window, "BAnterior");
            seen << page->text() << QString::number(prior->isEnabled());
            first = preview->pageImage();
            QTest::mouseClick(next, Qt::LeftButton);
            seen << page->text();
            second = preview->pageImage();
            QTest::mouseClick(next, Qt::LeftButton);
            seen << page->text() << QString::number(next->isEnabled());
            QTest::keyClick(window, Qt::Key_Home);
            seen << page->text();
            home = preview->pageImage();

            auto *zoom = child<QComboBox>(window, "CBZoom");
            zoom->setCurrentIndex(zoom->findText(QStringLiteral("100 %")));
            actualWidth = preview->pageImage().width();
            paperWidth = 210 * preview->logicalDpiX() / 25.4;
            zoom->setCurrentIndex(zoom->findText(QStringLiteral("200 %")));
            doubleWidth = preview->pageImage().width();

            QTest::mouseClick(child<QPushButton>(window, "BGuardarPDF"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(window, "BImprimir"), Qt::LeftButton); // cancelled
            QTest::mouseClick(child<QPushButton>(window, "BImprimir"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(window, "BCerrar"), Qt::LeftButton);
            return window->result();
        };

        Report report;
        defineThreePages(report, &items);
        report.prepare();
        QCOMPARE(report.pageCount(), 3);
        report.preview();

        QCOMPARE(dialogs.texts(QStringLiteral("modal")), QStringList{QStringLiteral("ReportPreview")});
        QCOMPARE(dialogs.shown.first().caption, QStringLiteral("Vista Previa - Prueba de vista previa"));
        QCOMPARE(seen.mid(0, 6),
                 QStringList({"Página 1 de 3", "0", "Página 2 de 3", "Página 3 de 3", "0", "Página 1 de 3"}));
        // Each page shows its own row: ink on every page, and not the same ink.
        QVERIFY(inked(first) > 0.002 && inked(second) > 0.002);
        QVERIFY(first != second);
        QCOMPARE(home, first);
        // At 100 % the sheet is the paper's real size on the screen; 200 % is twice that.
        QVERIFY(qAbs(actualWidth - paperWidth) <= 1);
        QVERIFY(qAbs(doubleWidth - 2 * actualWidth) <= 1);
        QCOMPARE(dialogs.texts(QStringLiteral("save")), QStringList{QStringLiteral("Guardar como PDF")});
        QCOMPARE(dialogs.texts(QStringLiteral("print")).size(), 2);
        QVERIFY(dialogs.texts(QStringLiteral("error")).isEmpty());

        QCOMPARE(pdf::pageCount(saved), 3);
        QCOMPARE(pdf::pageCount(printed), 2);
        for (const QString &path : {saved, printed}) {
            QVERIFY(pdf::sameSize(pdf::pageSizeMm(path), QSizeF(210, 297)));
            const QStringList pages = pdf::pages(path);
            const int firstPage = path == saved ? 1 : 2;
            for (int p = 0; p < pages.size(); ++p)
                QVERIFY(pages[p].contains(QStringLiteral("Hoja %1 de 3").arg(firstPage + p)));
            QVERIFY(pages.last().contains(QStringLiteral("TERCERA")));
            QVERIFY(pages.last().contains(QStringLiteral("RESUMEN")));
        }
    }

    void aFileThatCannotBeWrittenIsReported()
    {
        TempRoot root;
        FakeDialogs dialogs;
        dialogs.fileAnswers << root.file(QStringLiteral("no/existe/informe.pdf"));
        dialogs.onModal = [](QDialog *window) {
            QTest::mouseClick(child<QPushButton>(window, "BGuardarPDF"), Qt::LeftButton);
            return int(QDialog::Rejected);
        };
        Report report;
        report.pageHeader(10).text({0, 0, 50, 5}, QStringLiteral("x"));
        report.preview();
        QCOMPARE(dialogs.texts(QStringLiteral("error")).size(), 1);
        QVERIFY(dialogs.texts(QStringLiteral("error")).first().contains(QStringLiteral("informe.pdf")));
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_report_preview.moc"
