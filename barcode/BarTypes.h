#pragma once

#include "barcode/ZebruneExport.h"

#include <stdexcept>
#include <string>

// The vocabulary of the barcode engine: symbologies, options and the error it raises.
// Plain C++ so that encoding can be used and tested without Qt.
namespace zebrune {

enum TBarType : int {
    bcCode_2_5_interleaved,
    bcCode_2_5_industrial,
    bcCode_2_5_matrix,
    bcCode39,
    bcCode39Extended,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Extended,
    bcCodeMSI,
    bcCodePostNet,
    bcCodeCodabar,
    bcCodeEAN8,
    bcCodeEAN13,
    bcCodeUPC_A,
    bcCodeUPC_E0,
    bcCodeUPC_E1,
    bcCodeUPC_Supp2,
    bcCodeUPC_Supp5,
    bcCodeEAN128A,
    bcCodeEAN128B,
    bcCodeEAN128C,
};

inline constexpr int BarTypeCount = 23;

// csModulo10 appends the symbology's own check character (modulo 43 for Code 39).
enum TCheckSum : int { csNone, csModulo10 };

enum TBarLineType : int { white, black, black_half };

enum TOrientation : int { toLeftRight, toRightLeft, toTopBottom, toBottomTop };

enum TTextShow : int { tsNone, tsBarCode, tsBarType, tsBoth };

enum TTextPosition : int {
    tpTopLeft,
    tpTopRight,
    tpTopCenter,
    tpBottomLeft,
    tpBottomRight,
    tpBottomCenter,
};

enum TUnits : int { utMillimeter, utInch };

struct TBCdata {
    const char *name;
    bool digitsOnly; // only the digits 0-9 may be encoded
};

// Display name and digits-only flag of every TBarType, in TBarType order.
ZEBRUNE_EXPORT extern const TBCdata BCData[BarTypeCount];

// Every failure of encoding, measuring or drawing. The message is UTF-8.
class ZEBRUNE_EXPORT BarcodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Display name of a type; raises "Wrong barcode type." for a value outside the table.
ZEBRUNE_EXPORT const char *barTypeName(TBarType type);

} // namespace zebrune
