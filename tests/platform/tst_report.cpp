#include "../common/TestColumns.h"
#include "../common/TestDatabase.h"
#include "ReportPdfReader.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/DataSource.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/Table.h"
#include "platform/report/CurrentPrinter.h"
#include "platform/report/Report.h"
#include "platform/report/ReportError.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace vx;
using namespace vx::report;

namespace {

using testschema::column;

Schema shopSchema()
{
    TableDef items{QStringLiteral("ITEMS"),
                   {column("ID", FieldType::AutoInc), column("CODE", FieldType::String, 13),
                    column("NAME", FieldType::String, 120), column("GRP", FieldType::String, 1), column("QTY", FieldType::Float),
                    column("COST", FieldType::Float), column("DAY", FieldType::DateTime)},
                   {{QStringLiteral("CODE")}, {QStringLiteral("NAME")}}};
    TableDef lines{
        QStringLiteral("LINES"),
        {column("LID", FieldType::AutoInc), column("ICODE", FieldType::String, 13), column("AMOUNT", FieldType::Float)},
        {{QStringLiteral("ICODE")}}};
    return Schema({items, lines});
}

QString code(int i)
{
    return QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0'));
}

// The codes of the rows printed, in printed order.
QStringList printedCodes(const QString &text)
{
    QStringList out;
    static const QRegularExpression codes(QStringLiteral("\\bC\\d{4}\\b"));
    for (auto it = codes.globalMatch(text); it.hasNext();)
        out << it.next().captured();
    return out;
}

// The list every test prints: title and print date, column titles, one line per item with
// masks, a page footer with the page number, and totals.
void defineList(Report &report, Dataset *items)
{
    report.setTitle(QStringLiteral("Listado de prueba"));
    report.setDataset(items);
    report.pageHeader(12)
        .label(QStringLiteral("titulo"), {0, 0, 120, 6}, QStringLiteral("LISTADO DE PRUEBA"))
        .size(12)
        .bold()
        .date({120, 0, 70, 6}, QStringLiteral("Impreso el %1"))
        .right();
    report.columnHeader(8)
        .text({0, 1, 20, 5}, QStringLiteral("Codigo"))
        .bold()
        .text({22, 1, 70, 5}, QStringLiteral("Descripcion"))
        .bold()
        .text({95, 1, 20, 5}, QStringLiteral("Cant."))
        .bold()
        .right()
        .text({118, 1, 25, 5}, QStringLiteral("Costo"))
        .bold()
        .right()
        .text({146, 1, 25, 5}, QStringLiteral("Cant x Costo"))
        .bold()
        .right()
        .hline(7, 0, 190);
    report.detail(6)
        .field({0, 0, 20, 5}, QStringLiteral("CODE"))
        .field({22, 0, 70, 5}, QStringLiteral("NAME"))
        .field({95, 0, 20, 5}, QStringLiteral("QTY"))
        .mask(QStringLiteral("0.00"))
        .right()
        .field({118, 0, 25, 5}, QStringLiteral("COST"))
        .mask(QStringLiteral("#,##0.00"))
        .right()
        .product({146, 0, 25, 5}, QStringLiteral("QTY"), QStringLiteral("COST"))
        .mask(QStringLiteral("0.00"))
        .right()
        .field({173, 0, 17, 5}, QStringLiteral("DAY"))
        .mask(QStringLiteral("dd/mm/yy"));
    report.summary(14)
        .hline(1, 0, 190)
        .text({0, 3, 60, 5}, QStringLiteral("Total Valorizado:"))
        .sum({130, 3, 41, 5}, Expression::product(QStringLiteral("QTY"), QStringLiteral("COST")))
        .mask(QStringLiteral("#,##0.00"))
        .right()
        .text({0, 8, 60, 5}, QStringLiteral("Articulos listados:"))
        .count({130, 8, 41, 5})
        .right();
    report.pageFooter(6).pageNumber({0, 0, 190, 5}, QStringLiteral("Página %1 de %2")).center();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Schema m_schema = shopSchema();
    std::unique_ptr<Connection> m_db;

    void addItem(int i, const QString &name, const QString &group, double qty, double cost)
    {
        m_db->execute(QStringLiteral("INSERT INTO ITEMS (CODE, NAME, GRP, QTY, COST, DAY) VALUES (?, ?, ?, ?, ?, ?)"),
                      {code(i), name, group, qty, cost,
                       m_db->dialect().toDatabase(naiveDateTime(QDate(2026, 3, 1 + i % 28)), FieldType::DateTime)});
    }

    void addLine(int item, double amount)
    {
        m_db->execute(QStringLiteral("INSERT INTO LINES (ICODE, AMOUNT) VALUES (?, ?)"), {code(item), amount});
    }

    QString pdfPath(const QString &name) const { return m_dir.filePath(name + QStringLiteral(".pdf")); }

    // 120 items; those of group "X" (every twelfth) are filtered out of the lists.
    void fillItems()
    {
        for (int i = 1; i <= 120; ++i)
            addItem(i, QStringLiteral("ARTICULO %1").arg((i * 37) % 120, 3, 10, QLatin1Char('0')),
                    i % 12 == 0 ? QStringLiteral("X") : QStringLiteral("A"), (i % 7) + 0.5, 1000 + i * 1.25);
    }

private slots:
    void init() { m_db = TestDatabase::withSchema(&m_schema, m_dir.path()).connection; }
    void cleanup()
    {
        setCurrentPrinterFactory({});
        m_db.reset();
    }

    void listFlowsOverPagesInDatasetOrder()
    {
        fillItems();
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setSort(QStringLiteral("NAME DESC"));
        items.setFilter(QStringLiteral("GRP <> 'X'"));
        items.setFiltered(true);
        items.open();
        QStringList expected;
        double total = 0;
        for (items.first(); !items.eof(); items.next()) {
            expected << items.fieldByName(QStringLiteral("CODE"))->asString();
            total += items.fieldByName(QStringLiteral("QTY"))->asFloat() *
                     items.fieldByName(QStringLiteral("COST"))->asFloat();
        }
        QCOMPARE(expected.size(), 110);

        Report report;
        defineList(report, &items);
        report.prepare();
        QCOMPARE(report.pageCount(), 3);
        report.savePdf(pdfPath(QStringLiteral("list")));

        QCOMPARE(pdf::pageCount(pdfPath(QStringLiteral("list"))), 3);
        QVERIFY(pdf::sameSize(pdf::pageSizeMm(pdfPath(QStringLiteral("list"))), QSizeF(210, 297)));
        const QStringList pages = pdf::pages(pdfPath(QStringLiteral("list")));
        QCOMPARE(pages.size(), 3);
        const QString today = shopformat::formatDate(QDate::currentDate());
        QStringList printed;
        for (int p = 0; p < 3; ++p) {
            const QString &page = pages[p];
            // Page header, then column header, then rows, then the footer.
            const int title = pdf::lineOf(page, QStringLiteral("LISTADO DE PRUEBA"));
            const int columns = pdf::lineOf(page, QStringLiteral("Cant x Costo"));
            QVERIFY2(title >= 0 && columns > title, qPrintable(page));
            QVERIFY(page.contains(QStringLiteral("Impreso el ") + today));
            QVERIFY(pdf::lineOf(page, printedCodes(page).value(0)) > columns);
            QVERIFY(page.contains(QStringLiteral("Página %1 de 3").arg(p + 1)));
            printed << printedCodes(page);
            // The summary follows the last row, on the last page only.
            QCOMPARE(page.contains(QStringLiteral("Total Valorizado:")), p == 2);
        }
        QCOMPARE(printed, expected);
        // A4 content is 277 mm high: 12 + 8 of headers and 6 of footer leave room for 41 rows.
        QCOMPARE(printedCodes(pages[0]).size(), 41);
        QCOMPARE(printedCodes(pages[1]).size(), 41);
        const QString last = pages[2];
        QVERIFY(pdf::lineOf(last, QStringLiteral("Total Valorizado:")) > pdf::lineOf(last, expected.last()));

        // Masks: item 3 has 3.5 units at 1003.75; its product 3513.125 rounds up.
        const QString row3 = pdf::lineWith(pages.join(QString()), code(3));
        QCOMPARE(row3, QStringLiteral("C0003 ARTICULO 111 3,50 1.003,75 3513,13 04/03/26"));
        QVERIFY(pdf::lineWith(last, QStringLiteral("Total Valorizado:"))
                    .endsWith(shopformat::formatFloat(QStringLiteral("#,##0.00"), total)));
        QVERIFY(pdf::lineWith(last, QStringLiteral("Articulos listados:")).endsWith(QStringLiteral(" 110")));
    }

    void emptyDatasetStillPrintsHeadersAndSummary()
    {
        fillItems();
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setFilter(QStringLiteral("GRP = 'Z'"));
        items.setFiltered(true);
        items.open();
        QVERIFY(items.isEmpty());

        Report report;
        defineList(report, &items);
        report.savePdf(pdfPath(QStringLiteral("empty")));
        const QStringList pages = pdf::pages(pdfPath(QStringLiteral("empty")));
        QCOMPARE(pages.size(), 1);
        const QString &page = pages[0];
        QVERIFY(pdf::lineOf(page, QStringLiteral("LISTADO DE PRUEBA")) >= 0);
        QVERIFY(pdf::lineOf(page, QStringLiteral("Descripcion")) >= 0);
        QVERIFY(printedCodes(page).isEmpty());
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Total Valorizado:")), QStringLiteral("Total Valorizado: 0,00"));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Articulos listados:")), QStringLiteral("Articulos listados: 0"));
        QVERIFY(page.contains(QStringLiteral("Página 1 de 1")));
    }

    void leavesTheDatasetAsItWas()
    {
        fillItems();
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        items.setFilter(QStringLiteral("GRP = 'A'"));
        items.setFiltered(true);
        items.open();
        DataSource source(&items);
        items.setRecNo(7);
        const QString current = items.fieldByName(QStringLiteral("CODE"))->asString();
        const QVariant before = m_db->scalar(QStringLiteral("SELECT SUM(QTY * COST) || '/' || COUNT(*) FROM ITEMS"));

        Report report;
        defineList(report, &items);
        report.prepare();
        QCOMPARE(items.recNo(), 7);
        QCOMPARE(items.fieldByName(QStringLiteral("CODE"))->asString(), current);
        QVERIFY(!items.controlsDisabled());
        QCOMPARE(items.filter(), QStringLiteral("GRP = 'A'"));
        QCOMPARE(items.sort(), QStringLiteral("CODE"));
        QCOMPARE(items.state(), Dataset::State::Browse);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SUM(QTY * COST) || '/' || COUNT(*) FROM ITEMS")), before);

        // A record being edited would be posted by moving; the report refuses rather than write.
        items.edit();
        items.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("SIN GRABAR"));
        QVERIFY_THROWS_EXCEPTION(ReportError, report.prepare());
        QCOMPARE(items.state(), Dataset::State::Edit);
        QCOMPARE(items.fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("SIN GRABAR"));
        items.cancel();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT COUNT(*) FROM ITEMS WHERE NAME = 'SIN GRABAR'")).toInt(), 0);

        // A closed dataset is opened for the report and closed again.
        items.close();
        report.prepare();
        QVERIFY(!items.active());
        QCOMPARE(report.pageCount(), 3);
    }

    void subDetailPrintsTheLinesOfEachRow()
    {
        for (int i = 1; i <= 4; ++i)
            addItem(i, QStringLiteral("ARTICULO %1").arg(i), QStringLiteral("A"), 1, 1);
        addLine(1, 10.5);
        addLine(1, 20);
        addLine(3, 7.25);
        addLine(4, 1);
        addLine(4, 2);
        addLine(4, 3);
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        items.open();
        DataSource itemsSource(&items);
        Table lines(m_db.get(), QStringLiteral("LINES"));
        lines.setIndexFieldNames(QStringLiteral("ICODE"));
        lines.setMasterLink(&itemsSource, QStringLiteral("CODE"), QStringLiteral("ICODE"));
        lines.open();
        items.setRecNo(3);

        Report report;
        report.setDataset(&items);
        report.detail(6).field({0, 0, 30, 5}, QStringLiteral("CODE")).field({40, 0, 60, 5}, QStringLiteral("NAME"));
        report.subDetail(&lines, 5)
            .text({10, 0, 20, 5}, QStringLiteral("linea"))
            .field({40, 0, 30, 5}, QStringLiteral("AMOUNT"))
            .mask(QStringLiteral("0.00"))
            .right();
        report.summary(8)
            .text({0, 1, 30, 5}, QStringLiteral("Total lineas"))
            .sum({40, 1, 30, 5}, QStringLiteral("AMOUNT"), Over::SubDetail)
            .mask(QStringLiteral("0.00"))
            .right()
            .count({80, 1, 10, 5}, Over::SubDetail);
        report.savePdf(pdfPath(QStringLiteral("lines")));

        QStringList printed;
        const QStringList rows = pdf::pages(pdfPath(QStringLiteral("lines"))).join(QString()).split(QLatin1Char('\n'));
        for (const QString &row : rows) {
            if (!row.trimmed().isEmpty())
                printed << row.simplified();
        }
        QCOMPARE(printed, QStringList({"C0001 ARTICULO 1", "linea 10,50", "linea 20,00", "C0002 ARTICULO 2",
                                       "C0003 ARTICULO 3", "linea 7,25", "C0004 ARTICULO 4", "linea 1,00", "linea 2,00",
                                       "linea 3,00", "Total lineas 43,75 6"}));
        // The rows are back on their record and the lines follow it again.
        QCOMPARE(items.fieldByName(QStringLiteral("CODE"))->asString(), code(3));
        QCOMPARE(lines.recordCount(), 1);
        QCOMPARE(lines.fieldByName(QStringLiteral("AMOUNT"))->asFloat(), 7.25);
    }

    void captionsLinesAndBandsAreSetByName()
    {
        fillItems();
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        items.setFilter(QStringLiteral("CODE <= 'C0003'"));
        items.setFiltered(true);
        items.open();
        Report report;
        report.setDataset(&items);
        report.pageHeader().label(QStringLiteral("titulo"), {0, 0, 100, 6}, QStringLiteral("TITULO DE DISEÑO"));
        report.detail(5).field({0, 0, 30, 5}, QStringLiteral("CODE"));
        report.addDetail(QStringLiteral("segunda"), 5)
            .field({10, 0, 30, 5}, QStringLiteral("QTY"))
            .mask(QStringLiteral("0.00"));

        report.savePdf(pdfPath(QStringLiteral("designed")));
        QString text = pdf::pages(pdfPath(QStringLiteral("designed"))).join(QString());
        QVERIFY(text.contains(QStringLiteral("TITULO DE DISEÑO")));
        QCOMPARE(pdf::lineOf(text, QStringLiteral("1,50")), pdf::lineOf(text, code(1)) + 1);

        report.setCaption(QStringLiteral("titulo"), QStringLiteral("Desde el 01/03/2026 - Hasta el 31/03/2026"));
        report.setBandEnabled(QStringLiteral("segunda"), false);
        report.savePdf(pdfPath(QStringLiteral("set")));
        text = pdf::pages(pdfPath(QStringLiteral("set"))).join(QString());
        QVERIFY(text.contains(QStringLiteral("Desde el 01/03/2026 - Hasta el 31/03/2026")));
        QVERIFY(!text.contains(QStringLiteral("DISEÑO")));
        QVERIFY(!text.contains(QStringLiteral("1,50")));
        QCOMPARE(printedCodes(text), QStringList({code(1), code(2), code(3)}));

        QVERIFY_THROWS_EXCEPTION(ReportError, report.setCaption(QStringLiteral("no existe"), QString()));
        QVERIFY_THROWS_EXCEPTION(ReportError, report.setBandEnabled(QStringLiteral("no existe"), true));
        Report wrongField;
        wrongField.setDataset(&items);
        wrongField.detail(5).field({0, 0, 30, 5}, QStringLiteral("NO_EXISTE"));
        QVERIFY_THROWS_EXCEPTION(ReportError, wrongField.prepare());
        QVERIFY(!items.controlsDisabled());
    }

    void paperSizes_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("ticket 75") << 75.0 << 500.0;
        QTest::newRow("ticket 58") << 58.0 << 297.0;
        QTest::newRow("POS 57") << 57.0 << 300.0;
        QTest::newRow("turned") << 120.0 << 100.0;
    }

    // A roll ticket: the shop's header lines, a date line below however many there are, and
    // descriptions that wrap within the narrow paper.
    void paperSizes()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        const QString description =
            QStringLiteral("CAMPERA DE ABRIGO IMPERMEABLE CON CAPUCHA DESMONTABLE TALLE XL COLOR AZUL MARINO");
        addItem(1, description, QStringLiteral("A"), 1, 15999.9);
        addItem(2, QStringLiteral("MEDIAS"), QStringLiteral("A"), 3, 250);
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        items.open();

        Report report(PageSetup::custom(width, height).setMargins(2));
        report.setDataset(&items);
        const double inner = width - 4;
        report.pageHeader(12)
            .memo(QStringLiteral("membrete"), {0, 0, inner, 4}, {QStringLiteral("Mi Negocio...")})
            .center()
            .label(QStringLiteral("fecha"), {0, 5, inner, 4}, QStringLiteral("Fecha:"));
        report.detail(8)
            .field({0, 0, inner, 4}, QStringLiteral("NAME"))
            .wrap()
            .field({0, 4, inner / 2, 4}, QStringLiteral("QTY"))
            .mask(QStringLiteral("0.00"))
            .field({inner / 2, 4, inner / 2, 4}, QStringLiteral("COST"))
            .mask(QStringLiteral("0.00"))
            .right();
        report.summary(6)
            .text({0, 1, inner / 2, 4}, QStringLiteral("Importe Total"))
            .sum({inner / 2, 1, inner / 2, 4}, Expression::product(QStringLiteral("QTY"), QStringLiteral("COST")))
            .mask(QStringLiteral("0.00"))
            .right();

        const QStringList header{QStringLiteral("ZAPATERIA EL PASO"),   QStringLiteral("Av. Siempreviva 742"),
                                 QStringLiteral("(1000) Buenos Aires"), QStringLiteral("TEL: 4555-1234"),
                                 QStringLiteral("CUIT 20-12345678-9"),  QStringLiteral("IVA: Monotributista")};
        report.setLines(QStringLiteral("membrete"), header);
        report.setCaption(QStringLiteral("fecha"), QStringLiteral("Fecha: 05/03/2026 - Tkt: 15"));
        setCurrentPrinterFactory(pdfPrinterFactory(pdfPath(QStringLiteral("ticket"))));
        report.print();

        const QSizeF paper = pdf::pageSizeMm(pdfPath(QStringLiteral("ticket")));
        QVERIFY2(pdf::sameSize(paper, QSizeF(width, height)),
                 qPrintable(QStringLiteral("%1 x %2 mm").arg(paper.width()).arg(paper.height())));
        const QStringList pages = pdf::pages(pdfPath(QStringLiteral("ticket")));
        QCOMPARE(pages.size(), 1);
        const QString text = pages[0];
        int previous = -1;
        for (const QString &line : header) {
            const int at = pdf::lineOf(text, line);
            QVERIFY2(at > previous, qPrintable(line + QStringLiteral("\n") + text));
            previous = at;
        }
        QVERIFY(pdf::lineOf(text, QStringLiteral("Tkt: 15")) > previous);
        // The long description takes several lines, every word in order, above its amounts.
        const int first = pdf::lineOf(text, QStringLiteral("CAMPERA"));
        const int amounts = pdf::lineOf(text, QStringLiteral("15999,90"));
        QVERIFY2(first >= 0 && amounts > first + 1, qPrintable(text));
        QCOMPARE(text.split(QLatin1Char('\n')).mid(first, amounts - first).join(QLatin1Char(' ')).simplified(),
                 description);
        QVERIFY(pdf::lineOf(text, QStringLiteral("MEDIAS")) > amounts);
        QCOMPARE(pdf::lineWith(text, QStringLiteral("Importe Total")), QStringLiteral("Importe Total 16749,90"));
    }

    void landscapeAndLetterPages()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.open();
        Report landscape(PageSetup::a4(QPageLayout::Landscape));
        landscape.setDataset(&items);
        landscape.pageHeader(10).text({0, 0, 270, 6}, QStringLiteral("CONSULTA DE VENTAS"));
        landscape.savePdf(pdfPath(QStringLiteral("landscape")));
        QVERIFY(pdf::sameSize(pdf::pageSizeMm(pdfPath(QStringLiteral("landscape"))), QSizeF(297, 210)));
        QVERIFY(
            pdf::pages(pdfPath(QStringLiteral("landscape"))).value(0).contains(QStringLiteral("CONSULTA DE VENTAS")));

        Report letter(PageSetup::letter());
        letter.setDataset(&items);
        letter.pageHeader(10).text({0, 0, 100, 6}, QStringLiteral("CARTA"));
        letter.savePdf(pdfPath(QStringLiteral("letter")));
        QVERIFY(pdf::sameSize(pdf::pageSizeMm(pdfPath(QStringLiteral("letter"))), QSizeF(215.9, 279.4)));
    }

    void picturesKeepTheirProportions()
    {
        // A 200 x 100 red picture in a 40 x 40 mm box prints 40 mm wide and 20 mm high.
        QImage logo(200, 100, QImage::Format_RGB32);
        logo.fill(QColor(255, 0, 0));
        const QString bmp = m_dir.filePath(QStringLiteral("logo.bmp"));
        QVERIFY(logo.save(bmp, "BMP"));
        QImage tall(50, 100, QImage::Format_ARGB32);
        tall.fill(QColor(0, 0, 255));
        const QString png = m_dir.filePath(QStringLiteral("sello.png"));
        QVERIFY(tall.save(png, "PNG"));

        Report report;
        report.pageHeader(45)
            .picture(QStringLiteral("logo"), {0, 0, 40, 40})
            .picture(QStringLiteral("sello"), {100, 0, 40, 40})
            .center()
            .box({60, 0, 30, 30}, 0.5)
            .text({65, 10, 20, 10}, QStringLiteral("X"))
            .size(20)
            .center();
        QVERIFY(report.loadPicture(QStringLiteral("logo"), bmp));
        QVERIFY(report.loadPicture(QStringLiteral("sello"), png));
        QVERIFY(!report.loadPicture(QStringLiteral("sello"), m_dir.filePath(QStringLiteral("no-existe.bmp"))));
        report.savePdf(pdfPath(QStringLiteral("logo")));

        QCOMPARE(pdf::images(pdfPath(QStringLiteral("logo"))).size(), 2);
        const int dpi = 100;
        const QImage page = pdf::rasterise(pdfPath(QStringLiteral("logo")), 1, dpi);
        QVERIFY(!page.isNull());
        const auto boundsOf = [&page](const std::function<bool(QColor)> &match) {
            QRect bounds;
            for (int y = 0; y < page.height(); ++y) {
                for (int x = 0; x < page.width(); ++x) {
                    if (match(page.pixelColor(x, y)))
                        bounds |= QRect(x, y, 1, 1);
                }
            }
            return bounds;
        };
        const auto mm = [dpi](double pixels) { return pixels * 25.4 / dpi; };
        const QRect red = boundsOf([](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; });
        QVERIFY(qAbs(mm(red.width()) - 40) < 0.6);
        QVERIFY(qAbs(mm(red.height()) - 20) < 0.6);
        QVERIFY(qAbs(mm(red.left()) - 10) < 0.6); // the left margin
        QVERIFY(qAbs(mm(red.top()) - 10) < 0.6);
        // The tall one is 20 mm wide, centred in its 40 mm box: 10 mm in from the box's side.
        const QRect blue = boundsOf([](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; });
        QVERIFY(qAbs(mm(blue.width()) - 20) < 0.6);
        QVERIFY(qAbs(mm(blue.height()) - 40) < 0.6);
        QVERIFY(qAbs(mm(blue.left()) - (10 + 100 + 10)) < 0.6);
        QVERIFY(pdf::pages(pdfPath(QStringLiteral("logo"))).value(0).contains(QLatin1Char('X')));
    }

    // Amounts of 7 to 10 digits in boxes of 25, 16 and 10 mm: every amount is read whole or as
    // "###", never cut; a text too long for its box ends in an ellipsis.
    void figuresAreWholeOrHashes()
    {
        const QList<double> amounts{1234567.89, 12345678.9, 123456789.12, 1234567890.12};
        for (int i = 0; i < amounts.size(); ++i)
            addItem(i + 1, QStringLiteral("CAMPERA IMPERMEABLE CON CAPUCHA DESMONTABLE"), QStringLiteral("A"), 1,
                    amounts[i]);
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        items.open();
        const QString money = QStringLiteral("#,##0.00");
        Report report;
        report.setDataset(&items);
        report.detail(6)
            .field({0, 0, 15, 5}, QStringLiteral("CODE"))
            .field({18, 0, 40, 5}, QStringLiteral("NAME"))
            .field({62, 0, 25, 5}, QStringLiteral("COST"))
            .mask(money)
            .right()
            .field({92, 0, 16, 5}, QStringLiteral("COST"))
            .mask(money)
            .right()
            .field({113, 0, 10, 5}, QStringLiteral("COST"))
            .mask(money)
            .right();
        report.summary(8).sum({62, 1, 25, 5}, QStringLiteral("COST")).mask(money).right().bold().size(11);
        report.savePdf(pdfPath(QStringLiteral("figures")));
        const QString page = pdf::pages(pdfPath(QStringLiteral("figures"))).value(0);

        // "1.234.567.890,12" at 6 points still takes 17 mm: the widest amount cannot fit 16 mm,
        // and no amount fits 10 mm.
        int hashes = 0;
        double total = 0;
        for (int i = 0; i < amounts.size(); ++i) {
            total += amounts[i];
            const QString amount = shopformat::formatFloat(money, amounts[i]);
            const QString line = pdf::lineWith(page, code(i + 1));
            const QStringList words = line.split(QLatin1Char(' '));
            QVERIFY2(words.size() >= 4, qPrintable(page));
            const QStringList boxes = words.mid(words.size() - 3);
            QCOMPARE(boxes[0], amount);
            QCOMPARE(boxes[1], i < 3 ? amount : QStringLiteral("###"));
            QCOMPARE(boxes[2], QStringLiteral("###"));
            hashes += int(boxes.count(QStringLiteral("###")));
            // The clipped description ends in an ellipsis, which the reader's normalisation spells "...".
            QVERIFY2(words.contains(QStringLiteral("CAMPERA")) && line.contains(QStringLiteral("...")), qPrintable(line));
        }
        // The total, bold and larger, shrinks into its box whole.
        QVERIFY2(page.contains(shopformat::formatFloat(money, total)), qPrintable(page));
        // Each "###" is in the layout's notes, naming its field.
        const QStringList notes = report.prepared().overflows;
        QCOMPARE(hashes, 5);
        QCOMPARE(notes.size(), hashes);
        QVERIFY2(notes.value(0).startsWith(QStringLiteral("campo COST: ")), qPrintable(notes.value(0)));
    }

    // A memo of 120 lines in one band goes on over the next page under the repeated headers.
    void tallBandGoesOnOverPages()
    {
        addItem(1, QStringLiteral("MEMO"), QStringLiteral("A"), 1, 1);
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.open();
        QStringList memo;
        for (int i = 1; i <= 120; ++i)
            memo << QStringLiteral("Renglon %1 del memo").arg(i, 3, 10, QLatin1Char('0'));
        Report report;
        report.setDataset(&items);
        report.pageHeader(8).text({0, 0, 100, 6}, QStringLiteral("ENCABEZADO DE PAGINA"));
        report.columnHeader(6).text({0, 0, 100, 5}, QStringLiteral("TITULOS DE COLUMNA"));
        report.detail(5).memo(QStringLiteral("memo"), {0, 0, 190, 5}, memo);
        report.summary(6).text({0, 0, 100, 5}, QStringLiteral("FIN DEL LISTADO"));
        report.pageFooter(6).pageNumber({0, 0, 190, 5}, QStringLiteral("Página %1 de %2")).center();
        report.savePdf(pdfPath(QStringLiteral("memo")));

        const QStringList pages = pdf::pages(pdfPath(QStringLiteral("memo")));
        QCOMPARE(pages.size(), 2);
        QStringList printed;
        static const QRegularExpression renglon(QStringLiteral("Renglon \\d{3} del memo"));
        for (int p = 0; p < pages.size(); ++p) {
            const int header = pdf::lineOf(pages[p], QStringLiteral("ENCABEZADO DE PAGINA"));
            const int columns = pdf::lineOf(pages[p], QStringLiteral("TITULOS DE COLUMNA"));
            QVERIFY2(header >= 0 && columns > header, qPrintable(pages[p]));
            QVERIFY(pages[p].contains(QStringLiteral("Página %1 de 2").arg(p + 1)));
            const QStringList own = [&] {
                QStringList out;
                for (auto it = renglon.globalMatch(pages[p]); it.hasNext();)
                    out << it.next().captured();
                return out;
            }();
            QVERIFY(!own.isEmpty() && pdf::lineOf(pages[p], own.first()) > columns);
            printed << own;
        }
        QCOMPARE(printed, memo);
        QVERIFY(pdf::lineOf(pages[1], QStringLiteral("FIN DEL LISTADO")) > pdf::lineOf(pages[1], memo.last()));
    }

    void failuresReachTheCaller()
    {
        Report report;
        report.pageHeader(10).text({0, 0, 50, 5}, QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(ReportError, report.savePdf(m_dir.filePath(QStringLiteral("no/such/folder/x.pdf"))));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, report.pageHeader().hline(5, 0, 10).mask(QStringLiteral("0.00")));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
