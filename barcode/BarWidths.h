#pragma once

#include "barcode/BarTypes.h"

#include <array>
#include <string_view>

// Module patterns are strings of element codes, one character per bar or space:
//   "0".."3"  space            width class 0..3
//   "5".."8"  full-height bar  width class 0..3
//   "A".."D"  short bar        width class 0..3 (lower two fifths of the height)
namespace zebrune {

// Pixel widths of the classes 0..3.
using ElementWidths = std::array<int, 4>;

struct Element {
    TBarLineType line;
    int widthClass;
};

// Forces the wide-to-narrow ratio into the range the symbology reads reliably.
ZEBRUNE_EXPORT double limitRatio(TBarType type, double ratio);

// Class 0 is the module, class 1 the module times the ratio (ties to even), class 2 one and a
// half times class 1 (truncated), class 3 twice class 1. Wide modules scale in proportion (a
// 0.8 mm module at 1200 dpi is 38 pixels); a size no page could hold raises an error. A zero or
// negative module or ratio gives zero-width elements, never negative ones.
ZEBRUNE_EXPORT ElementWidths widthClasses(int modul, double ratio);

// The line type and width class of one code; raises "Internal Error." for any other character.
ZEBRUNE_EXPORT Element element(char code);

// Sum of the pixel widths of every element of the pattern.
ZEBRUNE_EXPORT int patternWidth(std::string_view pattern, const ElementWidths &widths);

} // namespace zebrune
