#pragma once

#include "barcode/BarEncoder.h"

#include <string_view>

// One encoder per family of symbologies. Each appends its module pattern to out.pattern and,
// where the symbology shows more or other than the input, sets out.visibleText (which arrives
// holding the input). `check` is the check option.
namespace zebrune::encoders {

void interleaved2of5(std::string_view text, Encoding &out);
void industrial2of5(std::string_view text, Encoding &out);
void matrix2of5(std::string_view text, Encoding &out);

void code39(std::string_view text, bool check, Encoding &out);
void code39Extended(std::string_view text, bool check, Encoding &out);

void code93(std::string_view text, Encoding &out);
void code93Extended(std::string_view text, Encoding &out);

// Sets A, B and C and their EAN-128 forms.
void code128(TBarType type, std::string_view text, bool check, Encoding &out);

void msi(std::string_view text, Encoding &out);
void postNet(std::string_view text, Encoding &out);
void codabar(std::string_view text, Encoding &out);

void ean8(std::string_view text, bool check, Encoding &out);
void ean13(std::string_view text, bool check, Encoding &out);
void upcA(std::string_view text, bool check, Encoding &out);
// numberSystem '0' (UPC-E0) or '1' (UPC-E1, parity read the other way).
void upcE(std::string_view text, bool check, char numberSystem, Encoding &out);
void upcSupp2(std::string_view text, bool check, Encoding &out);
void upcSupp5(std::string_view text, bool check, Encoding &out);

} // namespace zebrune::encoders
