#include "barcode/Encoders.h"

namespace zebrune::encoders {

namespace {

// Five narrow ('0') / wide ('1') flags per digit.
constexpr const char *TwoOfFive[10] = {
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010",
};

const char *flags(char digit)
{
    return TwoOfFive[digit - '0'];
}

} // namespace

void interleaved2of5(std::string_view text, Encoding &out)
{
    out.pattern.append("5050");
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const char *bars = flags(text[i]);
        const char *spaces = flags(text[i + 1]);
        for (int k = 0; k < 5; ++k) {
            out.pattern.push_back(bars[k] == '1' ? '6' : '5');
            out.pattern.push_back(spaces[k] == '1' ? '1' : '0');
        }
    }
    out.pattern.append("605");
}

void industrial2of5(std::string_view text, Encoding &out)
{
    out.pattern.append("606050");
    for (const char digit : text) {
        const char *f = flags(digit);
        for (int k = 0; k < 5; ++k)
            out.pattern.append(f[k] == '1' ? "60" : "50");
    }
    out.pattern.append("605060");
}

void matrix2of5(std::string_view text, Encoding &out)
{
    out.pattern.append("705050");
    for (const char digit : text) {
        const char *f = flags(digit);
        for (int k = 0; k < 5; ++k) {
            const bool bar = k % 2 == 0;
            const bool wide = f[k] == '1';
            out.pattern.push_back(bar ? (wide ? '6' : '5') : (wide ? '1' : '0'));
        }
        out.pattern.push_back('0');
    }
    out.pattern.append("70505");
}

} // namespace zebrune::encoders
