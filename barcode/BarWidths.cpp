#include "barcode/BarWidths.h"

#include "barcode/Rounding.h"

#include <algorithm>
#include <string>

namespace zebrune {

namespace {

// The widest element drawn, in device pixels: a module of 50 mm at 2400 dpi fits, a size that
// would overflow the sums of widths does not.
constexpr int MaxModule = 1 << 16;

struct ElementTable {
    // widthClass -1 marks a character that is not an element code.
    Element entries[256];

    constexpr ElementTable() : entries{}
    {
        for (Element &e : entries)
            e = {white, -1};
        for (int k = 0; k < 4; ++k) {
            entries['0' + k] = {white, k};
            entries['5' + k] = {black, k};
            entries['A' + k] = {black_half, k};
        }
    }
};

constexpr ElementTable elementTable;

[[noreturn]] void raiseInternalError()
{
    throw BarcodeError("Internal Error.");
}

} // namespace

double limitRatio(TBarType type, double ratio)
{
    switch (type) {
    case bcCode_2_5_matrix:
        return std::clamp(ratio, 2.25, 3.0);
    case bcCode_2_5_interleaved:
    case bcCode_2_5_industrial:
    case bcCode39:
    case bcCode39Extended:
    case bcCodeCodabar:
    case bcCodeEAN8:
    case bcCodeEAN13:
    case bcCodeUPC_A:
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
    case bcCodeUPC_Supp2:
    case bcCodeUPC_Supp5:
        return std::clamp(ratio, 2.0, 3.0);
    default:
        return ratio;
    }
}

ElementWidths widthClasses(int modul, double ratio)
{
    // A width no page could hold is refused rather than drawn out of proportion.
    const double wide = std::max(0.0, double(modul) * ratio);
    if (modul > MaxModule || wide * 2 > MaxModule)
        throw BarcodeError("Las barras son demasiado anchas para dibujarlas (módulo de " + std::to_string(modul) +
                           " puntos).");
    const int wideWidth = roundHalfEven(wide);
    return {std::max(modul, 0), wideWidth, wideWidth * 3 / 2, wideWidth * 2};
}

Element element(char code)
{
    const Element e = elementTable.entries[static_cast<unsigned char>(code)];
    if (e.widthClass < 0)
        raiseInternalError();
    return e;
}

int patternWidth(std::string_view pattern, const ElementWidths &widths)
{
    int sum = 0;
    for (const char code : pattern) {
        const int widthClass = elementTable.entries[static_cast<unsigned char>(code)].widthClass;
        if (widthClass < 0)
            raiseInternalError();
        sum += widths[static_cast<std::size_t>(widthClass)];
    }
    return sum;
}

} // namespace zebrune
