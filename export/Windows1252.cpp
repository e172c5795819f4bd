#include "export/Windows1252.h"

#include <array>

namespace {

// Characters of the code page's bytes 0x80..0x9F; 0 where the byte is unassigned.
constexpr std::array<char16_t, 32> upperControlBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char encodeCodePoint(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < upperControlBlock.size(); ++i) {
        if (upperControlBlock[i] != 0 && upperControlBlock[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

qsizetype Windows1252::encode(QStringView text, char *out, qsizetype maxCharacters)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    qsizetype written = 0;
    for (qsizetype i = 0; i < size && written < maxCharacters; ++i) {
        const char16_t unit = units[i];
        // Most of the shop's text is ASCII or Latin-1, which the code page holds as it is.
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            out[written++] = static_cast<char>(unit);
            continue;
        }
        char32_t codePoint = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            codePoint = QChar::surrogateToUcs4(unit, units[i + 1]);
            ++i;
        }
        out[written++] = encodeCodePoint(codePoint);
    }
    return written;
}

QByteArray Windows1252::fromUnicode(QStringView text, qsizetype maxCharacters)
{
    QByteArray bytes(qMin(text.size(), maxCharacters), Qt::Uninitialized);
    bytes.truncate(encode(text, bytes.data(), bytes.size()));
    return bytes;
}
