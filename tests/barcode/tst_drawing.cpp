// Drawing on a canvas and printing in millimetres and inches, checked pixel by pixel on images.
#include "barcode/HBarCode.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace zebrune;

namespace {

const QColor Bar(Qt::black);
const QColor Space(Qt::yellow);
const QColor Box(Qt::red);

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// One letter per pixel of a row: b bar, s space, w untouched, o anything else.
QString row(const QImage &image, int y, int x0, int x1)
{
    QString out;
    for (int x = x0; x <= x1; ++x) {
        const QColor c = image.pixelColor(x, y);
        out += c == Bar         ? QLatin1Char('b')
               : c == Space     ? QLatin1Char('s')
               : c == Qt::white ? QLatin1Char('w')
                                : QLatin1Char('o');
    }
    return out;
}

QString column(const QImage &image, int x, int y0, int y1)
{
    QString out;
    for (int y = y0; y <= y1; ++y)
        out += image.pixelColor(x, y) == Bar         ? QLatin1Char('b')
               : image.pixelColor(x, y) == Qt::white ? QLatin1Char('w')
                                                     : QLatin1Char('s');
    return out;
}

// The pattern as one letter per pixel at module m, ratio r.
QString expectedRow(TBarType type, const char *text, int modul, double ratio)
{
    const Encoding e = encode(type, text, modul, ratio, csNone);
    QString out;
    for (const char code : e.pattern) {
        const Element el = element(code);
        out += QString(e.widths[el.widthClass], el.line == white ? QLatin1Char('s') : QLatin1Char('b'));
    }
    return out;
}

void draw(QImage &image, TBarType type, const char *text, int modul, int left, int top, int height, double angle,
          TTextShow show = tsNone, TTextPosition position = tpBottomCenter)
{
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    H_DrawBar(painter, type, QString::fromLatin1(text), modul, 2.0, csNone, left, top, height, BarFont(font, Qt::blue),
              show, position, Bar, Space, Box, angle);
}

QRect paintedArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != Qt::white)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QImage printerImage(int dpiX, int dpiY)
{
    QImage image = blank(2400, 1400);
    image.setDotsPerMeterX(qRound(dpiX / 0.0254));
    image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    return image;
}

} // namespace

class TestDrawing : public QObject {
    Q_OBJECT

private slots:
    void elementsCoverTheirColumnsAndRows();
    void shortBarsTakeTheLowerTwoFifths();
    void turnedDrawingsMapPointForPoint();
    void textBoxSitsAtItsPosition();
    void painterStateIsRestoredAlsoOnFailure();
    void canvasExtents();
    void printsAtTheDeviceResolution();
    void printedSizes();
};

void TestDrawing::elementsCoverTheirColumnsAndRows()
{
    QImage image = blank(120, 40);
    draw(image, bcCode39, "", 2, 5, 3, 20, 0);
    const QString expected = expectedRow(bcCode39, "", 2, 2.0);
    QCOMPARE(expected.size(), 50);
    // Columns 5 .. 5 + W - 1 exactly, spaces painted too; rows 3 .. 3 + 20.
    QCOMPARE(row(image, 10, 4, 55), QLatin1Char('w') + expected + QLatin1Char('w'));
    QCOMPARE(row(image, 3, 5, 54), expected);
    QCOMPARE(row(image, 23, 5, 54), expected);
    QCOMPARE(row(image, 2, 5, 54), QString(50, QLatin1Char('w')));
    QCOMPARE(row(image, 24, 5, 54), QString(50, QLatin1Char('w')));
}

void TestDrawing::shortBarsTakeTheLowerTwoFifths()
{
    QImage image = blank(80, 40);
    draw(image, bcCodePostNet, "0", 1, 0, 0, 20, 0);
    // "51" then 0 = two full bars and three short ones: the short bars start at 20 x 3 / 5 = 12.
    QCOMPARE(column(image, 0, 0, 21), QString(21, QLatin1Char('b')) + QLatin1Char('w'));
    const int shortBar = 3 + 2 * 3; // after the start and two full bars with their wide spaces
    QCOMPARE(column(image, shortBar, 0, 21),
             QString(12, QLatin1Char('w')) + QString(9, QLatin1Char('b')) + QLatin1Char('w'));
}

void TestDrawing::turnedDrawingsMapPointForPoint()
{
    const int w = encode(bcCode128B, "Zeb", 1, 2.0, csNone).width();
    const int h = 30;
    QImage straight = blank(200, 200);
    draw(straight, bcCode128B, "Zeb", 1, 10, 10, h, 0);
    QCOMPARE(paintedArea(straight), QRect(10, 10, w, h + 1));

    for (const double angle : {90.0, 180.0, 270.0}) {
        QImage turned = blank(200, 200);
        draw(turned, bcCode128B, "Zeb", 1, 10, 10, h, angle);
        for (int y = 0; y <= h; ++y) {
            for (int x = 0; x < w; ++x) {
                QPoint p(10 + y, 10 + w - x); // 90: the bars run upwards
                if (angle == 180.0)
                    p = QPoint(10 + w - x, 10 + h - y);
                else if (angle == 270.0)
                    p = QPoint(10 + h - y, 10 + x);
                if (turned.pixelColor(p) != straight.pixelColor(10 + x, 10 + y))
                    QFAIL(qPrintable(QStringLiteral("at %1 degrees (%2, %3) differs").arg(angle).arg(x).arg(y)));
            }
        }
        // Everything stays below and right of the anchor.
        QVERIFY(paintedArea(turned).left() >= 10 && paintedArea(turned).top() >= 10);
    }
}

void TestDrawing::textBoxSitsAtItsPosition()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    QImage image = blank(200, 80);
    draw(image, bcCode39, "AB", 1, 20, 10, 40, 0, tsBarCode, tpBottomCenter);
    const int w = encode(bcCode39, "AB", 1, 2.0, csNone).width();
    const QFontMetrics metrics(font, &image);
    const int tw = metrics.horizontalAdvance(QStringLiteral("AB"));
    const int th = metrics.height();
    // Bottom centre at 0 degrees: one pixel down, so the box covers the bars' last row.
    const QRect box(20 + (w - tw) / 2, 10 + 40 - th + 1, tw, th);
    int boxPixels = 0;
    int letterPixels = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            boxPixels += c == Box ? 1 : 0;
            letterPixels += c != Box && c != Bar && c != Space ? 1 : 0;
        }
    }
    QVERIFY(boxPixels > tw * th / 2);
    QVERIFY(letterPixels > 0);
    QVERIFY(image.pixelColor(box.left() - 1, box.center().y()) != Box);
    QVERIFY(image.pixelColor(box.center().x(), box.top() - 1) != Box);
    QVERIFY(image.pixelColor(box.center().x(), box.bottom() + 1) == Qt::white);

    // The type name and both, top left.
    QImage named = blank(200, 80);
    draw(named, bcCode39, "AB", 1, 20, 10, 40, 0, tsBoth, tpTopLeft);
    const int bothWidth = metrics.horizontalAdvance(QStringLiteral("Code39 AB"));
    QCOMPARE(named.pixelColor(20, 10), Box);
    QVERIFY(named.pixelColor(20 + bothWidth, 10) != Box);
}

void TestDrawing::painterStateIsRestoredAlsoOnFailure()
{
    QImage image = blank(100, 100);
    QPainter painter(&image);
    const QPen pen(Qt::green, 3);
    const QBrush brush(Qt::cyan);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(17);
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.setFont(font);
    painter.translate(4, 2);

    const auto unchanged = [&] {
        return painter.pen() == pen && painter.brush() == brush && painter.font() == font &&
               painter.transform() == QTransform::fromTranslate(4, 2);
    };
    QVERIFY_THROWS_EXCEPTION(BarcodeError, H_DrawBar(painter, bcCodeEAN13, QStringLiteral("12x"), 1, 2, csNone, 0, 0,
                                                     20, QFont(), tsBarCode, tpBottomCenter, Bar, Space, Box, 90));
    QVERIFY(unchanged());
    H_DrawBar(painter, bcCodeEAN13, QStringLiteral("123"), 1, 2, csNone, 0, 0, 20, QFont(), tsBoth, tpTopRight, Bar,
              Space, Box, 33);
    QVERIFY(unchanged());
}

void TestDrawing::canvasExtents()
{
    // Code 39 of "" is 25 modules: odd, so round(25.5) = 26; 50 is even and stays 50.
    QCOMPARE(H_GetBarWidth(bcCode39, QString(), 1, 2, csNone), 25);
    QCOMPARE(H_GetCanvasWidth(bcCode39, QString(), 1, 2, csNone, 10, 0), 26);
    QCOMPARE(H_GetCanvasHeight(bcCode39, QString(), 1, 2, csNone, 10, 0), 10);
    QCOMPARE(H_GetCanvasWidth(bcCode39, QString(), 2, 2, csNone, 11, 0), 50);
    QCOMPARE(H_GetCanvasHeight(bcCode39, QString(), 2, 2, csNone, 11, 0), 12);
    // At 90 degrees the two swap, with no rounding noise even for wide codes.
    QCOMPARE(H_GetCanvasWidth(bcCode39, QString(), 1, 2, csNone, 10, 90), 10);
    QCOMPARE(H_GetCanvasHeight(bcCode39, QString(), 1, 2, csNone, 10, 90), 26);
    const QString wide(60, QLatin1Char('W'));
    const int wideWidth = H_GetBarWidth(bcCode39, wide, 3, 2, csNone);
    QCOMPARE(H_GetCanvasWidth(bcCode39, wide, 3, 2, csNone, 100, 270), 100);
    QCOMPARE(H_GetCanvasHeight(bcCode39, wide, 3, 2, csNone, 100, 270), wideWidth + wideWidth % 2);
    QCOMPARE(H_GetCanvasWidth(bcCode39, wide, 3, 2, csNone, 100, 180), wideWidth + wideWidth % 2);
    // 45 degrees: (25 + 10) x 0.7071 + 0.5 = 25.25.
    QCOMPARE(H_GetCanvasWidth(bcCode39, QString(), 1, 2, csNone, 10, 45), 25);
    QCOMPARE(H_GetCanvasHeight(bcCode39, QString(), 1, 2, csNone, 10, -45), 25);
}

void TestDrawing::printsAtTheDeviceResolution()
{
    // 600 dpi: 10 mm -> 236, 20 mm -> 472, 15 mm -> 354, 0.35 mm -> 8 pixels.
    QImage image = printerImage(600, 600);
    {
        QPainter printer(&image);
        H_PrintBar(printer, utMillimeter, bcCode39, QString(), 0.35, 2, csNone, 10, 20, 15, QFont(), tsNone,
                   tpBottomCenter, Bar, Space, Box, 0);
    }
    QCOMPARE(paintedArea(image), QRect(236, 472, 25 * 8, 354 + 1));
    QCOMPARE(row(image, 600, 236, 236 + 24),
             QString(8, QLatin1Char('b')) + QString(16, QLatin1Char('s')) + QLatin1Char('b'));

    // Left and module by the horizontal resolution, top and height by the vertical one.
    QImage uneven = printerImage(600, 300);
    {
        QPainter printer(&uneven);
        H_PrintBar(printer, utInch, bcCode39, QString(), 0.01, 2, csNone, 0.5, 1, 0.5, QFont(), tsNone, tpBottomCenter,
                   Bar, Space, Box, 90);
    }
    // Module 6, height 150, left 300, top 300; turned upright the bars run 150 wide, 150 high.
    QCOMPARE(paintedArea(uneven), QRect(300, 301, 150 + 1, 25 * 6));

    // Another unit takes the numbers as pixels.
    QImage pixels = printerImage(600, 600);
    {
        QPainter printer(&pixels);
        H_PrintBar(printer, static_cast<TUnits>(5), bcCode39, QString(), 2, 2, csNone, 7, 9, 30, QFont(), tsNone,
                   tpBottomCenter, Bar, Space, Box, 0);
    }
    QCOMPARE(paintedArea(pixels), QRect(7, 9, 50, 31));

    QPainter idle;
    QVERIFY_THROWS_EXCEPTION(BarcodeError, H_PrintBar(idle, utMillimeter, bcCode39, QString(), 0.35, 2, csNone, 10, 20,
                                                      15, QFont(), tsNone, tpBottomCenter, Bar, Space, Box, 0));
}

void TestDrawing::printedSizes()
{
    const QImage device = printerImage(600, 300);
    // 0.35 mm -> 8 pixels; 25 modules = 200 pixels = 8.47 mm.
    QCOMPARE(H_GetPrnBarWidth(device, utMillimeter, bcCode39, QString(), 0.35, 2, csNone), 8);
    // 0.05 in -> 30 pixels; 750 pixels = 1.25 in.
    QCOMPARE(H_GetPrnBarWidth(device, utInch, bcCode39, QString(), 0.05, 2, csNone), 1);
    QCOMPARE(H_GetPrnBarWidth(device, static_cast<TUnits>(2), bcCode39, QString(), 8, 2, csNone), -1);
    // Height 15 mm converted with the horizontal resolution: 354 pixels.
    QCOMPARE(H_PrnCanvasWidth(device, utMillimeter, bcCode39, QString(), 0.35, 2, csNone, 15, 0), 8);
    QCOMPARE(H_PrnCanvasHeight(device, utMillimeter, bcCode39, QString(), 0.35, 2, csNone, 15, 0), 30);
    QCOMPARE(H_PrnCanvasWidth(device, utMillimeter, bcCode39, QString(), 0.35, 2, csNone, 15, 90), 15);
    QCOMPARE(H_PrnCanvasHeight(device, utMillimeter, bcCode39, QString(), 0.35, 2, csNone, 15, 90), 17);
    QCOMPARE(H_PrnCanvasWidth(device, static_cast<TUnits>(2), bcCode39, QString(), 8, 2, csNone, 15, 90), -1);
}

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
