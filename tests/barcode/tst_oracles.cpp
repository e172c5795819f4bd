// Our bars judged by real tools: zbarimg must read what we draw, at every orientation, as the
// text we show under the bars; zint --dump must give the same module patterns for the same data.
#include "BarRender.h"

#include "barcode/pBarCode.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zebrune;

namespace {

QString runTool(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Module pattern as "1" (bar) and "0" (space), one character per module, trailing spaces cut.
QString modules(TBarType type, const QString &text, double ratio, TCheckSum check)
{
    const Encoding e = encode(type, text.toLatin1().toStdString(), 1, ratio, check);
    QString bits;
    for (const char code : e.pattern) {
        const Element el = element(code);
        bits += QString(e.widths[el.widthClass], el.line == white ? QLatin1Char('0') : QLatin1Char('1'));
    }
    while (bits.endsWith(QLatin1Char('0')))
        bits.chop(1);
    return bits;
}

// zint --dump prints the row as hexadecimal bytes; the last one is padded with spaces.
QString zintModules(int symbology, const QString &data, const QStringList &extra)
{
    const QString dump =
        runTool(QStringLiteral("zint"), QStringList{QStringLiteral("-b"), QString::number(symbology),
                                                    QStringLiteral("--dump"), QStringLiteral("-d"), data} +
                                            extra);
    QString bits;
    for (const QString &hex : dump.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint value = hex.toUInt(&ok, 16);
        if (!ok)
            return QStringLiteral("<zint said: %1>").arg(dump);
        bits += QStringLiteral("%1").arg(value, int(hex.size() * 4), 2, QLatin1Char('0'));
    }
    while (bits.endsWith(QLatin1Char('0')))
        bits.chop(1);
    return bits;
}

} // namespace

class TestOracles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void zbarReadsWhatWeShow_data();
    void zbarReadsWhatWeShow();
    void zintDrawsTheSameModules_data();
    void zintDrawsTheSameModules();
    void printedPdfScans();

private:
    QTemporaryDir dir_;
};

void TestOracles::initTestCase()
{
    QVERIFY(dir_.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("zint")).isEmpty())
        QSKIP("zbarimg and zint (scripts/install-deps) are needed to check our bars");
}

void TestOracles::zbarReadsWhatWeShow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("check");
    QTest::addColumn<double>("ratio");
    // What zbarimg must print, with %v standing for our visible text.
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("zbarOptions");

    struct Case {
        TBarType type;
        const char *text;
        bool check;
        double ratio;
        const char *expected;
        QStringList options;
    };
    const QStringList upc{QStringLiteral("-Supca.enable"), QStringLiteral("-Supce.enable")};
    const Case cases[] = {
        {bcCodeEAN13, "7791234567898", false, 2.0, "EAN-13:%v", {}},
        {bcCodeEAN13, "4006381333931", false, 2.0, "EAN-13:%v", {}},
        {bcCodeEAN13, "779123456789", true, 2.0, "EAN-13:%v", {}},
        {bcCodeEAN13, "779123456789", false, 2.0, "EAN-13:%v", {}},
        {bcCodeEAN8, "12345670", false, 2.0, "EAN-8:%v", {}},
        {bcCodeEAN8, "9638507", true, 2.0, "EAN-8:%v", {}},
        {bcCodeUPC_A, "036000291452", false, 2.0, "UPC-A:%v", upc},
        {bcCodeUPC_A, "042100005260", true, 2.0, "UPC-A:%v", upc},
        // The digits typed, then the check digit.
        {bcCodeUPC_A, "04210000526", true, 2.0, "UPC-A:042100005264", upc},
        {bcCodeUPC_A, "89076543210", true, 2.0, "UPC-A:890765432105", upc},
        {bcCodeUPC_E0, "4252614", false, 2.0, "UPC-E:0%v", upc},
        {bcCodeUPC_E0, "123456", true, 2.0, "UPC-E:01234565", upc},
        {bcCodeUPC_E0, "654327", true, 2.0, "UPC-E:06543273", upc},
        {bcCodeUPC_E0, "6543270", true, 2.0, "UPC-E:0%v", upc},
        {bcCode39, "VENDRIX-2024", false, 2.0, "CODE-39:%v", {}},
        {bcCode39, "A B$C/D+E%F.", false, 3.0, "CODE-39:%v", {}},
        {bcCode128A, "STOCK 42_#", false, 2.0, "CODE-128:%v", {}},
        {bcCode128B, "Camisa talle M", false, 2.0, "CODE-128:%v", {}},
        {bcCode128B, "{precio}=1.234,50", false, 2.0, "CODE-128:%v", {}},
        {bcCode128C, "0779123456", false, 2.0, "CODE-128:%v", {}},
        {bcCode128C, "123", false, 2.0, "CODE-128:%v", {}},
        {bcCode93, "TEST93", false, 2.0, "CODE-93:%v", {}},
        {bcCode93, "VENDRIX 2.0/$+%", false, 2.0, "CODE-93:%v", {}},
        {bcCode_2_5_interleaved, "12345678", false, 3.0, "I2/5:%v", {}},
        {bcCode_2_5_interleaved, "0779123456", false, 2.5, "I2/5:%v", {}},
        {bcCodeCodabar, "123-456", false, 3.0, "Codabar:A%vB", {}},
        {bcCodeCodabar, "40156$/:.+", false, 2.0, "Codabar:A%vB", {}},
    };
    for (const Case &c : cases) {
        QTest::addRow("%s %s%s", BCData[c.type].name, c.text, c.check ? " +check" : "")
            << int(c.type) << QString::fromLatin1(c.text) << c.check << c.ratio << QString::fromLatin1(c.expected)
            << c.options;
    }
}

void TestOracles::zbarReadsWhatWeShow()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, check);
    QFETCH(double, ratio);
    QFETCH(QString, expected);
    QFETCH(QStringList, zbarOptions);

    const auto barType = static_cast<TBarType>(type);
    const TCheckSum checkSum = check ? csModulo10 : csNone;
    const QString shown = H_GetVisibleText(barType, text, checkSum);
    for (const double angle : {0.0, 90.0, 180.0, 270.0}) {
        const int modul = angle == 90.0 || angle == 270.0 ? 3 : 2;
        // The text is drawn over the foot of the bars, as on a label.
        const QImage image = renderBarcode(barType, text, modul, ratio, checkSum, 60, angle, 12 * modul, tsBarCode);
        const QString file = dir_.filePath(QStringLiteral("bar.png"));
        QVERIFY(image.save(file));
        const QString decoded =
            runTool(QStringLiteral("zbarimg"), zbarOptions + QStringList{QStringLiteral("-q"), file});
        QVERIFY2(decoded == QString(expected).replace(QStringLiteral("%v"), shown),
                 qPrintable(QStringLiteral("at %1 degrees read \"%2\"").arg(angle).arg(decoded)));
    }
}

void TestOracles::zintDrawsTheSameModules_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("check");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("zintType");
    QTest::addColumn<QString>("zintData");
    QTest::addColumn<QStringList>("zintOptions");

    struct Case {
        TBarType type;
        const char *text;
        bool check;
        double ratio;
        int zintType; // zint's symbology number
        const char *zintData;
        QStringList options;
    };
    const Case cases[] = {
        {bcCodeEAN13, "779123456789", true, 2.0, 13, "779123456789", {}},
        {bcCodeEAN13, "5901234123457", false, 2.0, 13, "5901234123457", {}},
        {bcCodeEAN13, "0000000000000", false, 2.0, 13, "000000000000", {}},
        {bcCodeEAN8, "1234567", true, 2.0, 13, "1234567", {}},
        {bcCodeEAN8, "55123457", false, 2.0, 13, "5512345", {}},
        {bcCodeUPC_A, "036000291452", false, 2.0, 34, "036000291452", {}},
        {bcCodeUPC_A, "89076543210", true, 2.0, 34, "89076543210", {}},
        {bcCodeUPC_E0, "4252614", false, 2.0, 37, "04252614", {}},
        {bcCodeUPC_E0, "123456", true, 2.0, 37, "0123456", {}},
        {bcCodeUPC_E1, "1234540", true, 2.0, 37, "11234540", {}},
        {bcCode128B, "Hola mundo", false, 2.0, 20, "Hola mundo", {}},
        {bcCode128B, "art-12 x", false, 2.0, 20, "art-12 x", {}},
        {bcCode128C, "12345678", false, 2.0, 20, "12345678", {}},
        {bcCode128C, "779123456789", false, 2.0, 20, "779123456789", {}},
        {bcCodeEAN128C, "0112345678901231", false, 2.0, 16, "[01]12345678901231", {}},
        {bcCode39, "CODE39", true, 2.0, 8, "CODE39", {QStringLiteral("--vers=1")}},
        {bcCode39Extended, "abc XYZ", false, 2.0, 9, "abc XYZ", {}},
        {bcCode93, "TEST93", false, 2.0, 25, "TEST93", {}},
        {bcCode93Extended, "Camisa M", false, 2.0, 25, "Camisa M", {}},
        {bcCode_2_5_interleaved, "123456", false, 3.0, 3, "123456", {}},
        {bcCode_2_5_industrial, "4711", false, 3.0, 7, "4711", {}},
        {bcCode_2_5_matrix, "4711", false, 3.0, 2, "4711", {}},
        {bcCodeCodabar, "123-456", false, 2.0, 18, "A123-456B", {}},
        {bcCodeMSI, "1234567", false, 2.0, 47, "1234567", {QStringLiteral("--vers=1")}},
    };
    for (const Case &c : cases) {
        QTest::addRow("%s %s%s", BCData[c.type].name, c.text, c.check ? " +check" : "")
            << int(c.type) << QString::fromLatin1(c.text) << c.check << c.ratio << c.zintType
            << QString::fromLatin1(c.zintData) << c.options;
    }
}

void TestOracles::zintDrawsTheSameModules()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, check);
    QFETCH(double, ratio);
    QFETCH(int, zintType);
    QFETCH(QString, zintData);
    QFETCH(QStringList, zintOptions);

    QCOMPARE(modules(static_cast<TBarType>(type), text, ratio, check ? csModulo10 : csNone),
             zintModules(zintType, zintData, zintOptions));
}

// Through a real QPrinter into a PDF, in millimetres and turned, then rasterised and read back.
void TestOracles::printedPdfScans()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("pdftoppm (poppler-utils) is needed to read the printed page");
    const QString pdf = dir_.filePath(QStringLiteral("label.pdf"));
    TBarCode bar;
    bar.SetBarType(bcCodeEAN13);
    bar.SetBarcode(QStringLiteral("779123456789"));
    bar.SetCheckSum(csModulo10);
    bar.SetTextShow(tsBarCode);
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QPainter painter(&printer);
        bar.Print(painter, utMillimeter, 10, 20, 15, 0.35);
        bar.SetBarType(bcCode128B);
        bar.SetBarcode(QStringLiteral("Vendrix 2.0"));
        bar.Print(painter, utMillimeter, 80, 20, 15, 0.35, 270);
        // The text must suit the new type before the type changes.
        bar.SetBarcode(QStringLiteral("9638507"));
        bar.SetBarType(bcCodeEAN8);
        bar.Print(painter, utInch, 0.5, 2.5, 0.6, 0.015, 180);
        // A 0.8 mm module keeps its proportions: 95 modules of 38 pixels at 1200 dpi.
        bar.SetBarType(bcCodeEAN13);
        bar.SetCheckSum(csNone);
        bar.SetBarcode(QStringLiteral("4006381333931"));
        QCOMPARE(printer.resolution(), 1200);
        QCOMPARE(bar.GetPrnBarWidth(printer, utMillimeter, 0.8), 76);
        bar.Print(painter, utMillimeter, 10, 120, 40, 0.8);
    }
    const QString png = dir_.filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, png});
    const QString decoded = runTool(QStringLiteral("zbarimg"), {QStringLiteral("-q"), png + QStringLiteral(".png")});
    QStringList symbols = decoded.split(QLatin1Char('\n'));
    symbols.sort();
    QCOMPARE(symbols, (QStringList{QStringLiteral("CODE-128:Vendrix 2.0"), QStringLiteral("EAN-13:4006381333931"),
                                   QStringLiteral("EAN-13:7791234567898"), QStringLiteral("EAN-8:96385074")}));
    // The line a clerk reads under the EAN-13 bars is the number the scanner reads.
    const QString words = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY2(words.split(QRegularExpression(QStringLiteral("\\s+"))).contains(QStringLiteral("7791234567898")),
             qPrintable(words));
}

QTEST_MAIN(TestOracles)
#include "tst_oracles.moc"
