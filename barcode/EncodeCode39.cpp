#include "barcode/Encoders.h"
#include "barcode/FullAscii.h"

namespace zebrune::encoders {

namespace {

struct Code39Char {
    char key;
    const char *pattern;  // narrow bar "5", wide bar "6", narrow space "0", wide space "1"
    int value;
};

constexpr int Code39Size = 44;

// "*" is the start and stop character; it carries 0, but "0" comes first when a check value
// is looked up, so "*" is never chosen as the check character.
constexpr Code39Char Code39[Code39Size] = {
    {'0', "505160605", 0},  {'1', "605150506", 1},  {'2', "506150506", 2},
    {'3', "606150505", 3},  {'4', "505160506", 4},  {'5', "605160505", 5},
    {'6', "506160505", 6},  {'7', "505150606", 7},  {'8', "605150605", 8},
    {'9', "506150605", 9},  {'A', "605051506", 10}, {'B', "506051506", 11},
    {'C', "606051505", 12}, {'D', "505061506", 13}, {'E', "605061505", 14},
    {'F', "506061505", 15}, {'G', "505051606", 16}, {'H', "605051605", 17},
    {'I', "506051605", 18}, {'J', "505061605", 19}, {'K', "605050516", 20},
    {'L', "506050516", 21}, {'M', "606050515", 22}, {'N', "505060516", 23},
    {'O', "605060515", 24}, {'P', "506060515", 25}, {'Q', "505050616", 26},
    {'R', "605050615", 27}, {'S', "506050615", 28}, {'T', "505060615", 29},
    {'U', "615050506", 30}, {'V', "516050506", 31}, {'W', "616050505", 32},
    {'X', "515060506", 33}, {'Y', "615060505", 34}, {'Z', "516060505", 35},
    {'-', "515050606", 36}, {'.', "615050605", 37}, {' ', "516050605", 38},
    {'$', "515151505", 39}, {'/', "515150515", 40}, {'+', "515051515", 41},
    {'%', "505151515", 42}, {'*', "515060605", 0},
};

struct Code39Index {
    signed char position[256];

    constexpr Code39Index() : position{}
    {
        for (signed char &p : position)
            p = -1;
        for (int i = 0; i < Code39Size; ++i)
            position[static_cast<unsigned char>(Code39[i].key)] = static_cast<signed char>(i);
    }
};

constexpr Code39Index code39Index;

const Code39Char &code39Char(char key)
{
    return Code39[code39Index.position[static_cast<unsigned char>(key)]];
}

void appendChar(const Code39Char &c, Encoding &out)
{
    out.pattern.append(c.pattern).push_back('0');
}

}  // namespace

void code39(std::string_view text, bool check, Encoding &out)
{
    appendChar(code39Char('*'), out);
    int sum = 0;
    for (const char c : text) {
        const int position = code39Index.position[static_cast<unsigned char>(c)];
        if (position < 0)
            continue;
        appendChar(Code39[position], out);
        sum += Code39[position].value;
    }
    if (check) {
        const int value = sum % 43;
        for (const Code39Char &c : Code39) {
            if (c.value == value) {
                appendChar(c, out);
                break;
            }
        }
    }
    out.pattern.append(code39Char('*').pattern);
}

void code39Extended(std::string_view text, bool check, Encoding &out)
{
    std::string plain;
    plain.reserve(text.size() * 2);
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 128)
            plain.append(code39FullAscii(code));
    }
    code39(plain, check, out);
}

}  // namespace zebrune::encoders
