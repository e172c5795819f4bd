#include "barcode/FullAscii.h"

namespace zebrune {

namespace {

struct FullAsciiTable {
    char seq[128][3];

    constexpr explicit FullAsciiTable(bool code93Shifts) : seq{}
    {
        for (int c = 0; c < 128; ++c)
            fill(c, code93Shifts);
    }

    constexpr void set(int c, char shift, char letter, bool code93Shifts)
    {
        seq[c][0] = code93Shifts ? code93(shift) : shift;
        seq[c][1] = letter;
    }

    static constexpr char code93(char shift)
    {
        switch (shift) {
        case '$':
            return '[';
        case '%':
            return ']';
        case '/':
            return '{';
        default:
            return '}';
        }
    }

    constexpr void fill(int c, bool s)
    {
        const auto letter = [](int from, int offset) { return static_cast<char>(from + offset); };
        if (c == 0)
            set(c, '%', 'U', s);
        else if (c <= 26)
            set(c, '$', letter('A', c - 1), s);
        else if (c <= 31)
            set(c, '%', letter('A', c - 27), s);
        else if (c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
            seq[c][0] = static_cast<char>(c);
        else if (c <= '/')
            set(c, '/', letter('A', c - '!'), s);
        else if (c == ':')
            set(c, '/', 'Z', s);
        else if (c <= '?')
            set(c, '%', letter('F', c - ';'), s);
        else if (c == '@')
            set(c, '%', 'V', s);
        else if (c <= '_')
            set(c, '%', letter('K', c - '['), s);
        else if (c == '`')
            set(c, '%', 'W', s);
        else if (c <= 'z')
            set(c, '+', letter('A', c - 'a'), s);
        else
            set(c, '%', letter('P', c - '{'), s);
    }
};

constexpr FullAsciiTable code39Table(false);
constexpr FullAsciiTable code93Table(true);

} // namespace

std::string_view code39FullAscii(unsigned char c)
{
    return code39Table.seq[c & 0x7F];
}

std::string_view code93FullAscii(unsigned char c)
{
    return code93Table.seq[c & 0x7F];
}

} // namespace zebrune
