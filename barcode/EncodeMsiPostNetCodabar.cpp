#include "barcode/CheckDigits.h"
#include "barcode/Encoders.h"

namespace zebrune::encoders {

namespace {

// Five bars per digit: '1' full height, '0' short.
constexpr const char *PostNet[10] = {
    "11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100",
};

struct CodabarChar {
    char key;
    const char *pattern; // narrow bar "5", wide bar "6", narrow space "0", wide space "1"
};

constexpr CodabarChar Codabar[20] = {
    {'1', "5050615"}, {'2', "5051506"}, {'3', "6150505"}, {'4', "5060515"}, {'5', "6050515"},
    {'6', "5150506"}, {'7', "5150605"}, {'8', "5160505"}, {'9', "6051505"}, {'0', "5050516"},
    {'-', "5051605"}, {'$', "5061505"}, {':', "6050606"}, {'/', "6060506"}, {'.', "6060605"},
    {'+', "5060606"}, {'A', "5061515"}, {'B', "5151506"}, {'C', "5051516"}, {'D', "5051615"},
};

const char *codabarPattern(char key)
{
    for (const CodabarChar &c : Codabar) {
        if (c.key == key)
            return c.pattern;
    }
    return nullptr;
}

// Four bits per digit, most significant first: 0 = narrow bar and wide space, 1 = the reverse.
void appendMsiDigit(char digit, std::string &pattern)
{
    const int value = digit - '0';
    for (int bit = 3; bit >= 0; --bit)
        pattern.append((value >> bit) & 1 ? "60" : "51");
}

} // namespace

void msi(std::string_view text, Encoding &out)
{
    out.pattern.append("60");
    for (const char digit : text)
        appendMsiDigit(digit, out.pattern);
    appendMsiDigit(check::msi(text), out.pattern);
    out.pattern.append("515");
}

void postNet(std::string_view text, Encoding &out)
{
    out.pattern.append("51");
    for (const char digit : text) {
        for (const char *bar = PostNet[digit - '0']; *bar; ++bar)
            out.pattern.append(*bar == '1' ? "51" : "A1");
    }
    out.pattern.push_back('5');
}

// Start and stop are always A and B. Characters outside the table are skipped, as Code 39
// skips them: a label with a stray character still scans as the rest of its text.
void codabar(std::string_view text, Encoding &out)
{
    out.pattern.append(codabarPattern('A')).push_back('0');
    for (const char c : text) {
        if (const char *pattern = codabarPattern(c))
            out.pattern.append(pattern).push_back('0');
    }
    out.pattern.append(codabarPattern('B'));
}

} // namespace zebrune::encoders
