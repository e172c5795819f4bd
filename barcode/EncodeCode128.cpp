#include "barcode/CheckDigits.h"
#include "barcode/Encoders.h"
#include "barcode/WidthDigits.h"

namespace zebrune::encoders {

namespace {

// Bar and space widths in modules of the symbol values 0..102, bar first.
constexpr const char *Code128Widths[103] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112", "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131",
};

constexpr int Fnc1 = 102;
constexpr const char *StartA = "211412"; // value 103
constexpr const char *StartB = "211214"; // value 104
constexpr const char *StartC = "211232"; // value 105
constexpr const char *Stop = "2331112";

enum class CodeSet { A, B, C };

CodeSet codeSet(TBarType type)
{
    switch (type) {
    case bcCode128A:
    case bcCodeEAN128A:
        return CodeSet::A;
    case bcCode128B:
    case bcCodeEAN128B:
        return CodeSet::B;
    default:
        return CodeSet::C;
    }
}

// Set A holds ASCII 32..95 at values 0..63, set B ASCII 32..126 at 0..94. Characters 195..202
// stand for the values 95..102 (the function and shift symbols). Anything else, including a
// character above 202 whose value would be a start symbol or beyond the table, is a space.
int valueAB(char c, CodeSet set)
{
    const auto code = static_cast<unsigned char>(c);
    const int last = set == CodeSet::A ? 95 : 126;
    if (code >= 32 && code <= last)
        return code - 32;
    if (code >= 195 && code <= 202)
        return code - 100;
    return 0;
}

// A pair of digits "00".."99"; anything else counts as "00".
int valueC(char high, char low)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!isDigit(high) || !isDigit(low))
        return 0;
    return (high - '0') * 10 + (low - '0');
}

} // namespace

void code128(TBarType type, std::string_view text, bool check, Encoding &out)
{
    const CodeSet set = codeSet(type);
    const bool ean = type >= bcCodeEAN128A;

    std::string &encoded = out.visibleText;
    encoded.assign(text);
    if (ean && check)
        encoded.push_back(check::modulo10(encoded));
    if (set == CodeSet::C && encoded.size() % 2 == 1)
        encoded.insert(encoded.begin(), '0');

    WidthDigitWriter writer(out.pattern);
    int sum = 0;
    switch (set) {
    case CodeSet::A:
        writer.append(StartA);
        sum = 103;
        break;
    case CodeSet::B:
        writer.append(StartB);
        sum = 104;
        break;
    case CodeSet::C:
        writer.append(StartC);
        sum = 105;
        break;
    }
    int weight = 1;
    const auto put = [&](int value) {
        writer.append(Code128Widths[value]);
        sum += value * weight;
        ++weight;
    };
    if (ean)
        put(Fnc1);
    if (set == CodeSet::C) {
        for (std::size_t i = 0; i + 1 < encoded.size(); i += 2)
            put(valueC(encoded[i], encoded[i + 1]));
    } else {
        for (const char c : encoded)
            put(valueAB(c, set));
    }
    writer.append(Code128Widths[sum % 103]);
    writer.append(Stop);
}

} // namespace zebrune::encoders
