#pragma once

#include "barcode/BarTypes.h"

#include <QString>

#include <stdexcept>

class QPrinter;

namespace zebrune {
class TBarCode;
}

namespace catalogue {

// A label that cannot be printed; the message is Spanish, for the operator.
class LabelError : public std::runtime_error {
public:
    explicit LabelError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// Where a label goes: the barcode in millimetres from the printable corner, the text line's
// top-left corner in printer pixels.
struct LabelPositions {
    int left = 10;
    int top = 20;
    int height = 20;
    int textLeft = 100;
    int textTop = 200;
};

// The five boxes read as whole numbers, an empty one as its default. Throws LabelError naming a
// box that holds anything else.
LabelPositions readPositions(const QString &left, const QString &top, const QString &height, const QString &textLeft,
                             const QString &textTop);

// Why a code printed in a symbology would not scan back as the same text ("a digit added", a
// wrong EAN-13 check digit); empty when it would.
QString readBackWarning(zebrune::TBarType type, const QString &code);

// Prints the barcode (module 0,35 mm, the bar's own settings) and the text line on one page of
// a printer the print dialog set up. The code is encoded before the job begins; any failure
// aborts the job and throws LabelError.
void printLabel(QPrinter &printer, const zebrune::TBarCode &bar, const LabelPositions &at, const QString &text);

}  // namespace catalogue
