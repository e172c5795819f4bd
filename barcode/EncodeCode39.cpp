#include "barcode/Encoders.h"
#include "barcode/FullAscii.h"

namespace zebrune::encoders {

namespace {

struct Code39Char {
    const char *pattern; // narrow bar "5", wide bar "6", narrow space "0", wide space "1"
    int value;
    char key;
};

constexpr int Code39Size = 44;

// "*" is the start and stop character; it carries 0, but "0" comes first when a check value
// is looked up, so "*" is never chosen as the check character.
constexpr Code39Char Code39[Code39Size] = {
    {"505160605", 0, '0'},  {"605150506", 1, '1'},  {"506150506", 2, '2'},  {"606150505", 3, '3'},
    {"505160506", 4, '4'},  {"605160505", 5, '5'},  {"506160505", 6, '6'},  {"505150606", 7, '7'},
    {"605150605", 8, '8'},  {"506150605", 9, '9'},  {"605051506", 10, 'A'}, {"506051506", 11, 'B'},
    {"606051505", 12, 'C'}, {"505061506", 13, 'D'}, {"605061505", 14, 'E'}, {"506061505", 15, 'F'},
    {"505051606", 16, 'G'}, {"605051605", 17, 'H'}, {"506051605", 18, 'I'}, {"505061605", 19, 'J'},
    {"605050516", 20, 'K'}, {"506050516", 21, 'L'}, {"606050515", 22, 'M'}, {"505060516", 23, 'N'},
    {"605060515", 24, 'O'}, {"506060515", 25, 'P'}, {"505050616", 26, 'Q'}, {"605050615", 27, 'R'},
    {"506050615", 28, 'S'}, {"505060615", 29, 'T'}, {"615050506", 30, 'U'}, {"516050506", 31, 'V'},
    {"616050505", 32, 'W'}, {"515060506", 33, 'X'}, {"615060505", 34, 'Y'}, {"516060505", 35, 'Z'},
    {"515050606", 36, '-'}, {"615050605", 37, '.'}, {"516050605", 38, ' '}, {"515151505", 39, '$'},
    {"515150515", 40, '/'}, {"515051515", 41, '+'}, {"505151515", 42, '%'}, {"515060605", 0, '*'},
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

} // namespace

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

} // namespace zebrune::encoders
