#include "barcode/HBarCode.h"

#include "barcode/EngineText.h"
#include "barcode/Rotation.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace zebrune {

namespace {

// Restores the painter however drawing ends.
class PainterStateGuard {
public:
    explicit PainterStateGuard(QPainter &painter) : painter_(painter) { painter_.save(); }
    ~PainterStateGuard() { painter_.restore(); }
    PainterStateGuard(const PainterStateGuard &) = delete;
    PainterStateGuard &operator=(const PainterStateGuard &) = delete;

private:
    QPainter &painter_;
};

bool isTop(TTextPosition p)
{
    return p == tpTopLeft || p == tpTopRight || p == tpTopCenter;
}

bool isRight(TTextPosition p)
{
    return p == tpTopRight || p == tpBottomRight;
}

bool isLeft(TTextPosition p)
{
    return p == tpTopLeft || p == tpBottomLeft;
}

QString textToShow(TTextShow show, TBarType barType, const std::string &visibleText)
{
    const QString name = QString::fromLatin1(BCData[barType].name);
    switch (show) {
    case tsBarCode:
        return fromEngineText(visibleText);
    case tsBarType:
        return name;
    case tsBoth:
        return name + QLatin1Char(' ') + fromEngineText(visibleText);
    case tsNone:
        break;
    }
    return {};
}

// Every element is a filled polygon whose outline is part of it: the element of width w at x
// covers the columns x .. x + w - 1 and the rows y0 .. h of the unturned drawing.
void drawElements(QPainter &canvas, const Encoding &encoding, int height, const Rotation &turn, QPoint anchor,
                  const QColor &colorBar, const QColor &colorSpc)
{
    int x = 0;
    for (const char code : encoding.pattern) {
        const Element e = element(code);
        const int w = encoding.widths[e.widthClass];
        if (w > 0) {
            const int y0 = e.line == black_half ? height * 3 / 5 : 0;
            const QColor &color = e.line == white ? colorSpc : colorBar;
            canvas.setPen(QPen(color, 1));
            canvas.setBrush(color);
            const QPoint corners[4] = {
                anchor + turn.map(x, y0),
                anchor + turn.map(x + w - 1, y0),
                anchor + turn.map(x + w - 1, height),
                anchor + turn.map(x, height),
            };
            canvas.drawPolygon(corners, 4);
        }
        x += w;
    }
}

void drawText(QPainter &canvas, const QString &text, int barWidth, int height, double angle, const Rotation &turn,
              QPoint anchor, const BarFont &font, TTextPosition position, const QColor &textColor)
{
    canvas.setFont(font.font);
    const QFontMetrics metrics = canvas.fontMetrics();
    const int textWidth = metrics.horizontalAdvance(text);
    const int textHeight = metrics.height();

    int x = (barWidth - textWidth) / 2;
    if (isLeft(position))
        x = 0;
    else if (isRight(position))
        x = barWidth - textWidth - 1;
    const int y = isTop(position) ? 0 : height - textHeight;
    QPoint corner = anchor + turn.map(x, y);

    // One-pixel nudges that keep the text clear of the box's edge at each orientation.
    const int a = ((roundHalfEven(angle) % 360) + 360) % 360;
    if (a < 46 || a > 315) {
        if (!isTop(position))
            corner.ry() += 1;
        if (isRight(position))
            corner.rx() += 1;
    } else if (a > 135 && a <= 225) {
        if (isTop(position))
            corner.ry() += 1;
    } else if (a > 225) {
        corner.rx() += 1;
    }

    canvas.translate(corner);
    canvas.rotate(-angle);
    const QRect box(0, 0, textWidth, textHeight);
    canvas.fillRect(box, textColor);
    canvas.setPen(font.color);
    canvas.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace

void H_DrawBar(QPainter &canvas, TBarType barType, const QString &data, int modul, double ratio, TCheckSum checkSum,
               int left, int top, int height, const BarFont &font, TTextShow textShow, TTextPosition textPosition,
               const QColor &colorBar, const QColor &colorSpc, const QColor &textColor, double angle)
{
    const PainterStateGuard guard(canvas);
    thread_local Encoding encoding;
    encode(barType, engineText(data), modul, ratio, checkSum, encoding);
    const int barWidth = encoding.width();
    const Rotation turn(angle);
    const QPoint anchor = QPoint(left, top) + turn.anchorShift(barWidth, height);

    canvas.setRenderHint(QPainter::Antialiasing, false);
    drawElements(canvas, encoding, height, turn, anchor, colorBar, colorSpc);
    const QString text = textToShow(textShow, barType, encoding.visibleText);
    if (!text.isEmpty())
        drawText(canvas, text, barWidth, height, angle, turn, anchor, font, textPosition, textColor);
}

int H_GetCanvasWidth(TBarType barType, const QString &data, int modul, double ratio, TCheckSum checkSum, int height,
                     double angle)
{
    return Rotation(angle).extentX(H_GetBarWidth(barType, data, modul, ratio, checkSum), height);
}

int H_GetCanvasHeight(TBarType barType, const QString &data, int modul, double ratio, TCheckSum checkSum, int height,
                      double angle)
{
    return Rotation(angle).extentY(H_GetBarWidth(barType, data, modul, ratio, checkSum), height);
}

} // namespace zebrune
