#include "barcode/BarEncoder.h"

#include "barcode/Encoders.h"
#include "barcode/Latin1.h"

#include <algorithm>

namespace zebrune {

namespace {

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void runEncoder(TBarType type, std::string_view text, bool check, Encoding &out)
{
    using namespace encoders;
    switch (type) {
    case bcCode_2_5_interleaved:
        return interleaved2of5(text, out);
    case bcCode_2_5_industrial:
        return industrial2of5(text, out);
    case bcCode_2_5_matrix:
        return matrix2of5(text, out);
    case bcCode39:
        return code39(text, check, out);
    case bcCode39Extended:
        return code39Extended(text, check, out);
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C:
        return code128(type, text, check, out);
    case bcCode93:
        return code93(text, out);
    case bcCode93Extended:
        return code93Extended(text, out);
    case bcCodeMSI:
        return msi(text, out);
    case bcCodePostNet:
        return postNet(text, out);
    case bcCodeCodabar:
        return codabar(text, out);
    case bcCodeEAN8:
        return ean8(text, check, out);
    case bcCodeEAN13:
        return ean13(text, check, out);
    case bcCodeUPC_A:
        return upcA(text, check, out);
    case bcCodeUPC_E0:
        return upcE(text, check, '0', out);
    case bcCodeUPC_E1:
        return upcE(text, check, '1', out);
    case bcCodeUPC_Supp2:
        return upcSupp2(text, check, out);
    case bcCodeUPC_Supp5:
        return upcSupp5(text, check, out);
    }
}

} // namespace

void encode(TBarType type, std::string_view text, int modul, double ratio, TCheckSum checkSum, Encoding &out)
{
    // The type is checked before its digits-only flag is read from the table.
    if (type < 0 || type >= BarTypeCount)
        throw BarcodeError("Wrong barcode type.");
    out.ratio = limitRatio(type, ratio);
    out.widths = widthClasses(modul, out.ratio);
    if (BCData[type].digitsOnly && !allDigits(text))
        throw BarcodeError(latin1ToUtf8(text) + " : Barcode must be numeric.");
    out.pattern.clear();
    out.visibleText.assign(text);
    runEncoder(type, text, checkSum == csModulo10, out);
}

Encoding encode(TBarType type, std::string_view text, int modul, double ratio, TCheckSum checkSum)
{
    Encoding out;
    encode(type, text, modul, ratio, checkSum, out);
    return out;
}

int barWidth(TBarType type, std::string_view text, int modul, double ratio, TCheckSum checkSum)
{
    thread_local Encoding scratch;
    encode(type, text, modul, ratio, checkSum, scratch);
    return scratch.width();
}

} // namespace zebrune
