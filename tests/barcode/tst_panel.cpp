// The TBarCode panel: defaults, the setters' change rule, the OnInvalidChar loop, Assign,
// AutoWidth, bar height, where Paint puts the bars, and drawing and printing through it.
#include "barcode/pBarCode.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

using namespace zebrune;

namespace {

const QColor Bar(Qt::black);
const QColor Space(Qt::yellow);

// First and last painted column of a row (bars or spaces), or (-1, -1).
QPair<int, int> barSpan(const QImage &image, int y)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c == Bar || c == Space) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

QPair<int, int> barSpanDown(const QImage &image, int x)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QColor c = image.pixelColor(x, y);
        if (c == Bar || c == Space) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    return {first, last};
}

QRect barArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == Bar || c == Space)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const BarcodeError &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("<no error>");
}

// A panel of 100 x 40 with yellow spaces, so that every element shows against the panel.
struct Panel {
    TBarCode bar;
    Panel()
    {
        bar.resize(100, 40);
        bar.SetColorSpc(Space);
    }
    QImage image() { return bar.grab().toImage(); }
};

} // namespace

class TestPanel : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void newPanelDrawsCode39OfNothing();
    void settersStoreChangesAndNotify();
    void barHeightFollowsThePanel();
    void digitsOnlyTextsGoThroughOnInvalidChar();
    void encoderErrorsGoThroughOnInvalidChar();
    void changingTheTypeMayCorrectTheText();
    void unencodableTextLeavesThePanelEmpty();
    void assignCopiesTheBarcodeSettings();
    void autoWidthSizesAcrossTheBars();
    void paintPlacesTheBarsByAlignment_data();
    void paintPlacesTheBarsByAlignment();
    void frameAndBorderShrinkTheBars();
    void drawsAndPrintsElsewhere();
};

void TestPanel::defaults()
{
    TBarCode bar;
    QCOMPARE(bar.BarType(), bcCode39);
    QCOMPARE(bar.BarCode(), QString());
    QCOMPARE(bar.Modul(), 1);
    QCOMPARE(bar.Ratio(), 2.0);
    QCOMPARE(bar.CheckSum(), csNone);
    QCOMPARE(bar.ColorSpc(), QColor(Qt::white));
    QCOMPARE(bar.ColorBar(), QColor(Qt::black));
    QCOMPARE(bar.Orientation(), toLeftRight);
    QCOMPARE(bar.TextShow(), tsNone);
    QCOMPARE(bar.TextPosition(), tpBottomCenter);
    QCOMPARE(bar.TextColor(), QColor(Qt::white));
    QCOMPARE(bar.AutoWidth(), false);
    QCOMPARE(bar.HMargin(), 0);
    QVERIFY(!TBarCode::About().isEmpty());
    QVERIFY(!bar.OnChange());
    QVERIFY(!bar.OnInvalidChar());
    QCOMPARE(bar.GetBarTypeName(), QStringLiteral("Code39"));
    QCOMPARE(bar.GetBarWidth(), 25);
    QCOMPARE(bar.Alignment(), taCenter);
    QCOMPARE(bar.Border(), 1); // the raised outer bevel
    QCOMPARE(bar.Frame(), 0);
}

void TestPanel::newPanelDrawsCode39OfNothing()
{
    TBarCode bar;
    bar.resize(100, 40);
    const QImage image = bar.grab().toImage();
    // Start and stop only: 25 pixels centred at (100 - 25) / 2 = 37, rows 1 .. 1 + 37.
    QString seen;
    for (int x = 37; x < 62; ++x)
        seen += image.pixelColor(x, 20) == Qt::black   ? QLatin1Char('b')
                : image.pixelColor(x, 20) == Qt::white ? QLatin1Char('s')
                                                       : QLatin1Char('?');
    QCOMPARE(seen, QStringLiteral("bssbsbbsbbsbsbssbsbbsbbsb"));
    QVERIFY(image.pixelColor(36, 20) != Qt::black && image.pixelColor(36, 20) != Qt::white);
    QVERIFY(image.pixelColor(62, 20) != Qt::black && image.pixelColor(62, 20) != Qt::white);
    QCOMPARE(image.pixelColor(37, 1), QColor(Qt::black));
    QCOMPARE(image.pixelColor(37, 38), QColor(Qt::black));
    QVERIFY(image.pixelColor(37, 39) != Qt::black);
}

void TestPanel::settersStoreChangesAndNotify()
{
    Panel p;
    int changes = 0;
    QObject *sender = nullptr;
    p.bar.SetOnChange([&](QObject *s) {
        ++changes;
        sender = s;
    });
    p.bar.SetModul(3);
    QCOMPARE(changes, 1);
    QCOMPARE(sender, &p.bar);
    p.bar.SetModul(3);
    p.bar.SetModul(0);
    p.bar.SetModul(50);
    QCOMPARE(p.bar.Modul(), 3);
    QCOMPARE(changes, 1);
    p.bar.SetModul(49);
    QCOMPARE(changes, 2);

    p.bar.SetRatio(2.5);
    p.bar.SetCheckSum(csModulo10);
    p.bar.SetColorBar(Qt::darkBlue);
    p.bar.SetTextShow(tsBoth);
    p.bar.SetTextPosition(tpTopLeft);
    p.bar.SetTextColor(Qt::gray);
    p.bar.SetOrientation(toTopBottom);
    QCOMPARE(changes, 9);
    p.bar.SetRatio(2.5);
    p.bar.SetTextColor(Qt::gray);
    QCOMPARE(changes, 9);

    // The margin only shows, and so only repaints, with AutoWidth on.
    p.bar.SetHMargin(4);
    QCOMPARE(changes, 9);
    QCOMPARE(p.bar.HMargin(), 4);
    p.bar.SetModul(1);
    p.bar.SetAutoWidth(true);
    p.bar.SetHMargin(6);
    QCOMPARE(changes, 12);
}

void TestPanel::barHeightFollowsThePanel()
{
    Panel p;
    // 40 high, border 1, no frame: 40 - 2 - 0 - 1 = 37.
    QCOMPARE(p.bar.BarHeight(), 37);
    p.bar.SetBarHeight(10);
    QCOMPARE(p.bar.BarHeight(), 10);
    p.bar.SetBarHeight(-1);
    QCOMPARE(p.bar.BarHeight(), 37);
    p.bar.SetBarHeight(38);
    QCOMPARE(p.bar.BarHeight(), 37);
    p.bar.resize(100, 60);
    QCOMPARE(p.bar.BarHeight(), 57);

    // A stored height that no longer fits gives way to the available length for good.
    p.bar.SetBarHeight(30);
    p.bar.resize(100, 20);
    QCOMPARE(p.bar.BarHeight(), 17);
    p.bar.resize(100, 60);
    QCOMPARE(p.bar.BarHeight(), 57);

    // Across the bars is the width for the vertical orientations.
    p.bar.SetOrientation(toBottomTop);
    QCOMPARE(p.bar.BarHeight(), 97);
    p.bar.SetBarHeight(20);
    const QImage image = p.image();
    QCOMPARE(barSpan(image, 30).second - barSpan(image, 30).first, 20);
}

void TestPanel::digitsOnlyTextsGoThroughOnInvalidChar()
{
    Panel p;
    p.bar.SetBarType(bcCodeEAN13);
    QCOMPARE(errorOf([&] { p.bar.SetBarcode(QStringLiteral("12x")); }),
             QStringLiteral("12x: Barcode must be numeric."));
    QCOMPARE(p.bar.BarCode(), QString());

    int calls = 0;
    p.bar.SetOnInvalidChar([&](QObject *sender, QString &text) {
        QCOMPARE(sender, &p.bar);
        ++calls;
        text.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    });
    p.bar.SetBarcode(QStringLiteral("779-123-456789"));
    QCOMPARE(p.bar.BarCode(), QStringLiteral("779123456789"));
    QCOMPARE(calls, 1);

    // A handler that leaves the text alone ends the loop with the error.
    calls = 0;
    p.bar.SetOnInvalidChar([&](QObject *, QString &) { ++calls; });
    QCOMPARE(errorOf([&] { p.bar.SetBarcode(QStringLiteral("12a")); }),
             QStringLiteral("12a: Barcode must be numeric."));
    QCOMPARE(calls, 1);
    QCOMPARE(p.bar.BarCode(), QStringLiteral("779123456789"));

    // Blanks around the digits are kept in the text but not encoded: the bars are those of 456.
    calls = 0;
    QCOMPARE(errorOf([&] { p.bar.SetBarcode(QStringLiteral(" 456 ")); }), QStringLiteral("<no error>"));
    QCOMPARE(p.bar.BarCode(), QStringLiteral(" 456 "));
    QCOMPARE(calls, 0);
    const QImage blanks = p.image();
    p.bar.SetBarcode(QStringLiteral("456"));
    QCOMPARE(p.image(), blanks);
    QVERIFY(barSpan(blanks, 20).first >= 0);
}

void TestPanel::encoderErrorsGoThroughOnInvalidChar()
{
    Panel p;
    p.bar.SetBarType(bcCode93);
    int changes = 0;
    p.bar.SetOnChange([&](QObject *) { ++changes; });
    QCOMPARE(errorOf([&] { p.bar.SetBarcode(QStringLiteral("abc")); }),
             QStringLiteral("abc: Barcode must be numeric."));

    p.bar.SetOnInvalidChar([](QObject *, QString &text) { text = text.toUpper(); });
    p.bar.SetBarcode(QStringLiteral("camisa"));
    QCOMPARE(p.bar.BarCode(), QStringLiteral("CAMISA"));
    QCOMPARE(changes, 1);

    // Each correction is tried; the text a handler hands back unchanged is the one reported.
    QStringList offered;
    p.bar.SetOnInvalidChar([&](QObject *, QString &text) {
        offered << text;
        if (offered.size() < 3)
            text += QLatin1Char('x');
    });
    QCOMPARE(errorOf([&] { p.bar.SetBarcode(QStringLiteral("a")); }), QStringLiteral("axx: Barcode must be numeric."));
    QCOMPARE(offered, (QStringList{QStringLiteral("a"), QStringLiteral("ax"), QStringLiteral("axx")}));
}

void TestPanel::changingTheTypeMayCorrectTheText()
{
    Panel p;
    p.bar.SetBarcode(QStringLiteral("AB-1"));
    QCOMPARE(errorOf([&] { p.bar.SetBarType(bcCodeEAN8); }), QStringLiteral("AB-1 : Barcode must be numeric."));
    QCOMPARE(p.bar.BarType(), bcCodeEAN8);

    p.bar.SetBarType(bcCode39);
    int changes = 0;
    p.bar.SetOnChange([&](QObject *) { ++changes; });
    p.bar.SetOnInvalidChar([](QObject *, QString &text) { text = QStringLiteral("1234567"); });
    QCOMPARE(errorOf([&] { p.bar.SetBarType(bcCodeEAN8); }), QStringLiteral("<no error>"));
    QCOMPARE(p.bar.BarCode(), QStringLiteral("1234567"));
    QCOMPARE(changes, 1);
    QVERIFY(barSpan(p.image(), 20).first >= 0);
}

void TestPanel::unencodableTextLeavesThePanelEmpty()
{
    Panel p;
    p.bar.SetBarcode(QStringLiteral("AB-1"));
    QCOMPARE(errorOf([&] { p.bar.SetBarType(bcCodeEAN13); }), QStringLiteral("AB-1 : Barcode must be numeric."));
    QCOMPARE(barArea(p.image()), QRect());
    p.bar.SetBarcode(QStringLiteral("12"));
    QCOMPARE(barArea(p.image()).width(), 95);
}

void TestPanel::assignCopiesTheBarcodeSettings()
{
    TBarCode source;
    source.resize(300, 60);
    int sourceChanges = 0;
    source.SetBarType(bcCode128B);
    source.SetBarcode(QStringLiteral("Hola"));
    source.SetOrientation(toRightLeft);
    source.SetModul(2);
    source.SetRatio(2.5);
    source.SetColorSpc(Qt::cyan);
    source.SetColorBar(Qt::darkRed);
    source.SetBarHeight(22);
    source.SetCheckSum(csModulo10);
    source.SetTextColor(Qt::green);
    source.SetTextShow(tsBarType);
    source.SetTextPosition(tpTopRight);
    source.SetHMargin(7);
    source.SetAutoWidth(true);
    source.SetOnInvalidChar([](QObject *, QString &) {});
    source.SetOnChange([&](QObject *) { ++sourceChanges; });

    TBarCode target;
    target.resize(300, 60);
    target.Assign(&source);
    QCOMPARE(target.BarType(), bcCode128B);
    QCOMPARE(target.BarCode(), QStringLiteral("Hola"));
    QCOMPARE(target.Orientation(), toRightLeft);
    QCOMPARE(target.Modul(), 2);
    QCOMPARE(target.Ratio(), 2.5);
    QCOMPARE(target.ColorSpc(), QColor(Qt::cyan));
    QCOMPARE(target.ColorBar(), QColor(Qt::darkRed));
    QCOMPARE(target.BarHeight(), 22);
    QCOMPARE(target.CheckSum(), csModulo10);
    QCOMPARE(target.TextColor(), QColor(Qt::green));
    QCOMPARE(target.TextShow(), tsBarType);
    QCOMPARE(target.TextPosition(), tpTopRight);
    QCOMPARE(target.HMargin(), 7);
    QCOMPARE(target.AutoWidth(), false);
    QVERIFY(!target.OnInvalidChar());
    // The handler came along: the target's changes now count in it.
    const int before = sourceChanges;
    target.SetModul(3);
    QCOMPARE(sourceChanges, before + 1);

    QWidget other;
    target.Assign(&other);
    QCOMPARE(target.BarCode(), QStringLiteral("Hola"));
}

void TestPanel::autoWidthSizesAcrossTheBars()
{
    Panel p;
    p.bar.SetOrientation(toBottomTop);
    p.bar.SetHMargin(5);
    p.bar.SetAutoWidth(true);
    // 25 + 2 x (5 + 1 + 0) along the bars, which run upwards: Height, not Width.
    QCOMPARE(p.bar.width(), 100);
    QCOMPARE(p.bar.height(), 37);
    p.bar.SetBarcode(QStringLiteral("A"));
    QCOMPARE(p.bar.height(), 50);

    p.bar.SetOrientation(toLeftRight);
    QCOMPARE(p.bar.width(), 50);
    // Resized on screen, it returns to the barcode's width.
    p.bar.show();
    p.bar.resize(300, 45);
    QCOMPARE(p.bar.size(), QSize(50, 45));
    // The panel's own geometry counts too.
    p.bar.SetBorderWidth(3);
    QCOMPARE(p.bar.width(), 56);
}

void TestPanel::paintPlacesTheBarsByAlignment_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("first");
    // The bars keep their place whichever way they run: the reversed orientations start one
    // pixel earlier because their turned drawing lies one pixel further on.
    for (const int o : {toLeftRight, toRightLeft, toTopBottom, toBottomTop}) {
        QTest::addRow("%d left", o) << o << int(taLeftJustify) << 1;
        QTest::addRow("%d right", o) << o << int(taRightJustify) << 100 - 1 - 25;
        QTest::addRow("%d centre", o) << o << int(taCenter) << (o == toLeftRight || o == toTopBottom ? 37 : 38);
    }
}

void TestPanel::paintPlacesTheBarsByAlignment()
{
    QFETCH(int, orientation);
    QFETCH(int, alignment);
    QFETCH(int, first);
    Panel p;
    const bool vertical = orientation == toTopBottom || orientation == toBottomTop;
    if (vertical)
        p.bar.resize(40, 100);
    p.bar.SetOrientation(static_cast<TOrientation>(orientation));
    p.bar.SetAlignment(static_cast<TAlignment>(alignment));
    const QImage image = p.image();
    const auto along = vertical ? barSpanDown(image, 20) : barSpan(image, 20);
    QCOMPARE(along.first, first);
    QCOMPARE(along.second, first + 24);
    const auto across = vertical ? barSpan(image, first) : barSpanDown(image, first);
    QCOMPARE(across.first, 1);
    QCOMPARE(across.second, 38);
}

void TestPanel::frameAndBorderShrinkTheBars()
{
    Panel p;
    p.bar.SetBorderStyle(bsSingle);
    QCOMPARE(p.bar.Frame(), 4);
    p.bar.SetCtl3D(false);
    QCOMPARE(p.bar.Frame(), 2);
    p.bar.SetCtl3D(true);
    p.bar.SetBevelInner(bvLowered);
    p.bar.SetBevelWidth(2);
    p.bar.SetBorderWidth(1);
    QCOMPARE(p.bar.Border(), 5);
    // 40 - 2 x 5 - 4 - 1 = 25 rows of bars, placed (40 - 25 - 4) / 2 = 5 into the client area,
    // which starts 2 pixels in.
    QCOMPARE(p.bar.BarHeight(), 25);
    p.bar.SetAlignment(taLeftJustify);
    const QImage image = p.image();
    QCOMPARE(barSpan(image, 20).first, 2 + 5);
    QCOMPARE(barSpanDown(image, 10).first, 2 + 5);
    QCOMPARE(barSpanDown(image, 10).second, 2 + 5 + 25);
}

void TestPanel::drawsAndPrintsElsewhere()
{
    Panel p;
    p.bar.SetOrientation(toBottomTop);
    QCOMPARE(p.bar.GetAngle(), 90.0);
    QCOMPARE(p.bar.GetCanvasWidth(10), 10);
    QCOMPARE(p.bar.GetCanvasHeight(10), 26);
    QCOMPARE(p.bar.GetCanvasWidth(10, 0), 26);

    QImage canvas(200, 200, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        p.bar.Draw(painter, 10, 10, 30);
    }
    QCOMPARE(barArea(canvas), QRect(10, 11, 31, 25));

    // At 600 dpi: 10 mm, 20 mm, 15 mm and 0.35 mm are 236, 472, 354 and 8 pixels.
    QImage paper(2000, 1200, QImage::Format_RGB32);
    paper.fill(Qt::white);
    paper.setDotsPerMeterX(qRound(600 / 0.0254));
    paper.setDotsPerMeterY(qRound(600 / 0.0254));
    {
        QPainter printer(&paper);
        p.bar.Print(printer, utMillimeter, 10, 20, 15, 0.35, 0);
    }
    QCOMPARE(barArea(paper), QRect(236, 472, 200, 355));
    QCOMPARE(barSpan(paper, 600).first, 236);
    QCOMPARE(paper.pixelColor(243, 600), Bar);
    QCOMPARE(paper.pixelColor(244, 600), Space);
    QCOMPARE(p.bar.GetPrnBarWidth(paper, utMillimeter, 0.35), 8);
    QCOMPARE(p.bar.GetPrnCanvasWidth(paper, utMillimeter, 15, 0.35), 15);
    QCOMPARE(p.bar.GetPrnCanvasHeight(paper, utMillimeter, 15, 0.35), 8);
    QCOMPARE(p.bar.GetPrnCanvasHeight(paper, utMillimeter, 15, 0.35, 0), 15);
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
