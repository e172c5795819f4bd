#pragma once

#include "barcode/HBarCode.h"

#include <QImage>
#include <QPainter>

// A barcode drawn with H_DrawBar on a white image, with a quiet zone of `quiet` pixels all round.
inline QImage renderBarcode(zebrune::TBarType type, const QString &text, int modul, double ratio,
                            zebrune::TCheckSum check, int height, double angle, int quiet,
                            zebrune::TTextShow show = zebrune::tsNone)
{
    using namespace zebrune;
    const int w = H_GetCanvasWidth(type, text, modul, ratio, check, height, angle);
    const int h = H_GetCanvasHeight(type, text, modul, ratio, check, height, angle);
    QImage image(w + 2 * quiet, h + 2 * quiet, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    H_DrawBar(painter, type, text, modul, ratio, check, quiet, quiet, height, font, show, tpBottomCenter, Qt::black,
              Qt::white, Qt::white, angle);
    return image;
}
