#pragma once

#include "barcode/BarTypes.h"
#include "barcode/BarWidths.h"

#include <string>
#include <string_view>

// Turns a text and a symbology into a module pattern (see BarWidths.h for the element codes).
// Texts are Latin-1 bytes: characters 195..202 stand for the Code 128 control values.
namespace zebrune {

struct Encoding {
    std::string pattern;     // element codes, drawn left to right without gaps
    std::string visibleText; // what may be written with the bars (Latin-1)
    double ratio = 0;        // the ratio after the symbology's limits
    ElementWidths widths{};  // pixel widths of the classes 0..3

    // Total width of the pattern in pixels.
    int width() const { return patternWidth(pattern, widths); }
};

// Fills `out`, reusing its buffers. Raises BarcodeError with the messages
// "<text> : Barcode must be numeric.", "Wrong barcode type." and "<text> : Code_93 bad data.".
ZEBRUNE_EXPORT void encode(TBarType type, std::string_view text, int modul, double ratio, TCheckSum checkSum,
                           Encoding &out);

ZEBRUNE_EXPORT Encoding encode(TBarType type, std::string_view text, int modul, double ratio, TCheckSum checkSum);

// Encodes and returns the width of the whole pattern in pixels.
ZEBRUNE_EXPORT int barWidth(TBarType type, std::string_view text, int modul, double ratio, TCheckSum checkSum);

} // namespace zebrune
