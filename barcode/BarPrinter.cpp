#include "barcode/HBarCode.h"

#include "barcode/Rounding.h"

#include <QPaintDevice>
#include <QPainter>

namespace zebrune {

namespace {

constexpr double MillimetresPerInch = 25.4;

// A length in the given unit as whole device pixels at `dpi`.
int toPixels(TUnits units, double value, int dpi)
{
    switch (units) {
    case utMillimeter:
        return roundHalfEven(dpi * value / MillimetresPerInch);
    case utInch:
        return roundHalfEven(dpi * value);
    }
    return roundHalfEven(value);
}

// Device pixels back in whole units; -1 for an unknown unit.
int fromPixels(TUnits units, int pixels, int dpi)
{
    switch (units) {
    case utMillimeter:
        return roundHalfEven(pixels * MillimetresPerInch / dpi);
    case utInch:
        return roundHalfEven(double(pixels) / dpi);
    }
    return -1;
}

} // namespace

void H_PrintBar(QPainter &printer, TUnits units, TBarType barType, const QString &data, double modul, double ratio,
                TCheckSum checkSum, double left, double top, double height, const BarFont &font, TTextShow textShow,
                TTextPosition textPosition, const QColor &colorBar, const QColor &colorSpc, const QColor &textColor,
                double angle)
{
    const QPaintDevice *device = printer.device();
    if (!printer.isActive() || device == nullptr)
        throw BarcodeError("No print job is open.");
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    H_DrawBar(printer, barType, data, toPixels(units, modul, dpiX), ratio, checkSum, toPixels(units, left, dpiX),
              toPixels(units, top, dpiY), toPixels(units, height, dpiY), font, textShow, textPosition, colorBar,
              colorSpc, textColor, angle);
}

int H_GetPrnBarWidth(const QPaintDevice &printer, TUnits units, TBarType barType, const QString &data, double modul,
                     double ratio, TCheckSum checkSum)
{
    const int dpiX = printer.logicalDpiX();
    const int pixels = H_GetBarWidth(barType, data, toPixels(units, modul, dpiX), ratio, checkSum);
    return fromPixels(units, pixels, dpiX);
}

int H_PrnCanvasWidth(const QPaintDevice &printer, TUnits units, TBarType barType, const QString &data, double modul,
                     double ratio, TCheckSum checkSum, double height, double angle)
{
    const int dpiX = printer.logicalDpiX();
    const int pixels = H_GetCanvasWidth(barType, data, toPixels(units, modul, dpiX), ratio, checkSum,
                                        toPixels(units, height, dpiX), angle);
    return fromPixels(units, pixels, dpiX);
}

int H_PrnCanvasHeight(const QPaintDevice &printer, TUnits units, TBarType barType, const QString &data, double modul,
                      double ratio, TCheckSum checkSum, double height, double angle)
{
    const int dpiX = printer.logicalDpiX();
    const int pixels = H_GetCanvasHeight(barType, data, toPixels(units, modul, dpiX), ratio, checkSum,
                                         toPixels(units, height, dpiX), angle);
    return fromPixels(units, pixels, printer.logicalDpiY());
}

} // namespace zebrune
