#include "barcode/Encoders.h"
#include "barcode/FullAscii.h"
#include "barcode/Latin1.h"
#include "barcode/WidthDigits.h"

namespace zebrune::encoders {

namespace {

constexpr int Code93Size = 47;

// Values 0..46; "[", "]", "{" and "}" stand for the shifts ($), (%), (/) and (+).
constexpr char Code93Keys[Code93Size + 1] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%[]{}";

// Bar and space widths in modules, bar first.
constexpr const char *Code93Widths[Code93Size] = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114", "131211", "141111",
    "211113", "211212", "211311", "221112", "221211", "231111", "112113", "112212", "112311", "122112",
    "132111", "111123", "111222", "111321", "121122", "131121", "212112", "212211", "211122", "211221",
    "221121", "222111", "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211",
};

struct Code93Index {
    signed char value[256];

    constexpr Code93Index() : value{}
    {
        for (signed char &v : value)
            v = -1;
        for (int i = 0; i < Code93Size; ++i)
            value[static_cast<unsigned char>(Code93Keys[i])] = static_cast<signed char>(i);
    }
};

constexpr Code93Index code93Index;

} // namespace

void code93(std::string_view text, Encoding &out)
{
    WidthDigitWriter writer(out.pattern);
    writer.append("111141");
    for (const char c : text) {
        const int value = code93Index.value[static_cast<unsigned char>(c)];
        if (value < 0)
            throw BarcodeError(latin1ToUtf8(text) + " : Code_93 bad data.");
        writer.append(Code93Widths[value]);
    }

    // C weighs the data 1..20 from the right, K weighs it 2..15 and C itself 1; both cycle.
    int sumC = 0;
    int sumK = 0;
    int position = 0;
    for (auto it = text.rbegin(); it != text.rend(); ++it, ++position) {
        const int value = code93Index.value[static_cast<unsigned char>(*it)];
        sumC += value * (position % 20 + 1);
        sumK += value * ((position + 1) % 15 + 1);
    }
    const int c = sumC % 47;
    const int k = (sumK + c) % 47;
    writer.append(Code93Widths[c]);
    writer.append(Code93Widths[k]);
    writer.append("1111411");
}

void code93Extended(std::string_view text, Encoding &out)
{
    std::string plain;
    plain.reserve(text.size() * 2);
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 128)
            plain.append(code93FullAscii(code));
    }
    code93(plain, out);
}

} // namespace zebrune::encoders
