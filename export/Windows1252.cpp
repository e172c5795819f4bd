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

QByteArray Windows1252::fromUnicode(QStringView text, qsizetype maxCharacters)
{
    QByteArray bytes;
    bytes.reserve(qMin(text.size(), maxCharacters));
    for (qsizetype i = 0; i < text.size() && bytes.size() < maxCharacters; ++i) {
        const QChar unit = text[i];
        char32_t codePoint = unit.unicode();
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, text[i + 1]);
            ++i;
        }
        bytes.append(encodeCodePoint(codePoint));
    }
    return bytes;
}
