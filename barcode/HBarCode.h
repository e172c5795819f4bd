#pragma once

#include "barcode/BarEncoder.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class QPaintDevice;

// Measuring, drawing and printing barcodes on any QPainter: a widget, an image, a printer or a
// PDF writer. Every function encodes first, so encoder errors (zebrune::BarcodeError) surface
// from each of them.
//
// Choices this library makes where the symbologies leave room:
// - Codabar skips characters outside its 20-character table, as Code 39 does.
// - Every width class fits a signed byte: when module x ratio x 2 would exceed 127 pixels the
//   wide width is clamped to 63 pixels (and the module to 127), so no width wraps negative.
// - Code 128 sets A and B encode a character above 202 (whose value would be a start symbol or
//   beyond the table) as a space, as they do any other character outside their set.
// - UPC-E's check digit is the one of the UPC-A number its six digits stand for, so that
//   scanners accept it.
// - Texts cross to the engine as Latin-1; a character outside Latin-1 becomes "?".
// - Angles that are whole multiples of 90 degrees are turned exactly, so extents at 0, 90, 180
//   and 270 degrees carry no rounding noise.
namespace zebrune {

// The font the text is written in, with its colour.
struct BarFont {
    BarFont(const QFont &f = QFont(), const QColor &c = Qt::black) : font(f), color(c) {}
    QFont font;
    QColor color;
};

// Sum of the widths of all elements, in pixels.
ZEBRUNE_EXPORT int H_GetBarWidth(TBarType barType, const QString &data, int modul, double ratio, TCheckSum checkSum);

ZEBRUNE_EXPORT QString H_GetBarTypeName(TBarType barType);

// The visible text: the input, or the input with its check digit where the symbology shows it.
ZEBRUNE_EXPORT QString H_GetVisibleText(TBarType barType, const QString &data, TCheckSum checkSum);

// Draws the bars of height `height` (and the text, unless tsNone) turned counter-clockwise by
// `angle` degrees, so that the turned drawing lies below and right of (left, top). The painter's
// font, pen, brush and transform are restored afterwards, also when encoding fails.
ZEBRUNE_EXPORT void H_DrawBar(QPainter &canvas, TBarType barType, const QString &data, int modul, double ratio,
                              TCheckSum checkSum, int left, int top, int height, const BarFont &font,
                              TTextShow textShow, TTextPosition textPosition, const QColor &colorBar,
                              const QColor &colorSpc, const QColor &textColor, double angle);

// Horizontal and vertical extent, in pixels, of the drawing turned by `angle`.
ZEBRUNE_EXPORT int H_GetCanvasWidth(TBarType barType, const QString &data, int modul, double ratio, TCheckSum checkSum,
                                    int height, double angle);
ZEBRUNE_EXPORT int H_GetCanvasHeight(TBarType barType, const QString &data, int modul, double ratio, TCheckSum checkSum,
                                     int height, double angle);

// Printing: `printer` is the painter of a print job the caller has begun (a QPrinter, a
// QPdfWriter or any device with a real resolution). Module, left, top and height are in
// millimetres or inches and become whole device pixels: horizontal resolution for module and
// left, vertical for top and height. Another unit takes the numbers as pixels.
// Raises BarcodeError("No print job is open.") when the painter is not active.
ZEBRUNE_EXPORT void H_PrintBar(QPainter &printer, TUnits units, TBarType barType, const QString &data, double modul,
                               double ratio, TCheckSum checkSum, double left, double top, double height,
                               const BarFont &font, TTextShow textShow, TTextPosition textPosition,
                               const QColor &colorBar, const QColor &colorSpc, const QColor &textColor, double angle);

// Printed sizes on `printer`, rounded to whole units; -1 for a unit other than the two known.
ZEBRUNE_EXPORT int H_GetPrnBarWidth(const QPaintDevice &printer, TUnits units, TBarType barType, const QString &data,
                                    double modul, double ratio, TCheckSum checkSum);
ZEBRUNE_EXPORT int H_PrnCanvasWidth(const QPaintDevice &printer, TUnits units, TBarType barType, const QString &data,
                                    double modul, double ratio, TCheckSum checkSum, double height, double angle);
ZEBRUNE_EXPORT int H_PrnCanvasHeight(const QPaintDevice &printer, TUnits units, TBarType barType, const QString &data,
                                     double modul, double ratio, TCheckSum checkSum, double height, double angle);

} // namespace zebrune
