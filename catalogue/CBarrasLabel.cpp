#include "catalogue/CBarrasLabel.h"

#include "barcode/HBarCode.h"
#include "barcode/pBarCode.h"

#include <QPainter>
#include <QPrinter>

namespace catalogue {

namespace {

int wholeNumber(const QString &text, int empty, const QString &box)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return empty;
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok)
        throw LabelError(QStringLiteral("'%1' no es un número entero válido (%2).").arg(text, box));
    return value;
}

// The EAN-13 check digit of the first twelve digits.
QChar ean13Check(const QString &twelve)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (twelve.at(i).digitValue()) * (i % 2 == 0 ? 1 : 3);
    return QChar(QLatin1Char(char('0' + (10 - sum % 10) % 10)));
}

}  // namespace

LabelPositions readPositions(const QString &left, const QString &top, const QString &height, const QString &textLeft,
                             const QString &textTop)
{
    LabelPositions at;
    at.left = wholeNumber(left, at.left, QStringLiteral("Margen Izq."));
    at.top = wholeNumber(top, at.top, QStringLiteral("Margen Sup."));
    at.height = wholeNumber(height, at.height, QStringLiteral("Alto de Barras"));
    at.textLeft = wholeNumber(textLeft, at.textLeft, QStringLiteral("Margen Izq. Desc."));
    at.textTop = wholeNumber(textTop, at.textTop, QStringLiteral("Margen Sup. Desc"));
    return at;
}

QString readBackWarning(zebrune::TBarType type, const QString &code)
{
    if (code.isEmpty())
        return {};
    QString read;
    try {
        read = zebrune::H_GetVisibleText(type, code, zebrune::csNone);
    } catch (const zebrune::BarcodeError &) {
        return {};
    }
    if (type == zebrune::bcCodeEAN13) {
        read = QString(qMax<qsizetype>(0, 13 - code.size()), QLatin1Char('0')) + code;
        if (read.size() == 13 && ean13Check(read.left(12)) != read.at(12))
            return QStringLiteral("El último dígito no es el verificador de EAN-13 (sería %1): el lector no leerá "
                                  "este código.")
                .arg(ean13Check(read.left(12)));
    }
    if (read != code)
        return QStringLiteral("Al escanearlo se leerá %1, no %2.").arg(read, code);
    return {};
}

void printLabel(QPrinter &printer, const zebrune::TBarCode &bar, const LabelPositions &at, const QString &text)
{
    constexpr double module = 0.35;
    try {
        // Encoded before the job begins: a code the symbology refuses leaves no page behind.
        bar.GetPrnBarWidth(printer, zebrune::utMillimeter, module);
    } catch (const zebrune::BarcodeError &failure) {
        throw LabelError(QStringLiteral("No se puede imprimir el código: %1").arg(QString::fromUtf8(failure.what())));
    }
    QPainter painter;
    if (!painter.begin(&printer))
        throw LabelError(QStringLiteral("No se pudo comenzar la impresión en %1.").arg(printer.printerName()));
    try {
        bar.Print(painter, zebrune::utMillimeter, at.left, at.top, at.height, module);
        painter.drawText(QRect(at.textLeft, at.textTop, printer.width(), printer.height()),
                         Qt::AlignLeft | Qt::AlignTop, text);
    } catch (const std::exception &failure) {
        printer.abort();
        painter.end();
        throw LabelError(QStringLiteral("No se pudo imprimir la etiqueta: %1").arg(QString::fromUtf8(failure.what())));
    }
    if (!painter.end())
        throw LabelError(QStringLiteral("No se pudo terminar la impresión en %1.").arg(printer.printerName()));
}

}  // namespace catalogue
