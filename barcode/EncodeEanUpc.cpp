#include "barcode/CheckDigits.h"
#include "barcode/Encoders.h"

namespace zebrune::encoders {

namespace {

// Digit patterns of four elements: L (odd parity), G (even parity) and R (right half).
constexpr const char *DigitL[10] = {
    "2605", "1615", "1516", "0805", "0526", "0625", "0508", "0706", "0607", "2506",
};
constexpr const char *DigitG[10] = {
    "0517", "0616", "1606", "0535", "1705", "0715", "3505", "1525", "2515", "1507",
};
constexpr const char *DigitR[10] = {
    "7150", "6160", "6061", "5350", "5071", "5170", "5053", "5251", "5152", "7051",
};

// EAN-13: the first digit chooses L ('A') or G ('B') for digits 2-7.
constexpr const char *Ean13Parity[10] = {
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB", "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};

// UPC-E and the five-digit add-on: even ('E') or odd ('o') parity per digit.
constexpr const char *UpcEParity[10] = {
    "EEEooo", "EEoEoo", "EEooEo", "EEoooE", "EoEEoo", "EooEEo", "EoooEE", "EoEoEo", "EoEooE", "EooEoE",
};

constexpr const char *Supp2Parity[4] = {"oo", "oE", "Eo", "EE"};

int digit(char c)
{
    return c - '0';
}

void appendL(char c, std::string &pattern)
{
    pattern.append(DigitL[digit(c)], 4);
}

void appendG(char c, std::string &pattern)
{
    pattern.append(DigitG[digit(c)], 4);
}

void appendR(char c, std::string &pattern)
{
    pattern.append(DigitR[digit(c)], 4);
}

// Even parity is G, odd parity L; `inverted` reads the letters the other way (UPC-E1).
void appendParity(char c, char parity, bool inverted, std::string &pattern)
{
    if ((parity == 'E') != inverted)
        appendG(c, pattern);
    else
        appendL(c, pattern);
}

} // namespace

void ean8(std::string_view text, bool check, Encoding &out)
{
    std::string digits;
    if (check) {
        const std::string padded = check::padLeft(text, 7);
        digits = padded.substr(padded.size() - 7);
        digits.push_back(check::modulo10(digits));
    } else {
        digits = check::padLeft(text, 8);
    }
    // The clerk compares the printed number with the one on screen: show what the bars carry.
    out.visibleText = digits.substr(0, 8);
    std::string &p = out.pattern;
    p.append("505");
    for (int i = 0; i < 4; ++i)
        appendL(digits[i], p);
    p.append("05050");
    for (int i = 4; i < 8; ++i)
        appendR(digits[i], p);
    p.append("505");
}

void ean13(std::string_view text, bool check, Encoding &out)
{
    std::string digits;
    if (check) {
        digits = check::padLeft(text, 12);
        digits.push_back(check::modulo10(digits));
    } else {
        digits = check::padLeft(text, 13);
    }
    out.visibleText = digits.substr(0, 13);
    const char *parity = Ean13Parity[digit(digits[0])];
    std::string &p = out.pattern;
    p.append("505");
    for (int i = 1; i < 7; ++i) {
        if (parity[i - 1] == 'A')
            appendL(digits[i], p);
        else
            appendG(digits[i], p);
    }
    p.append("05050");
    for (int i = 7; i < 13; ++i)
        appendR(digits[i], p);
    p.append("505");
}

// With the check option every digit typed is kept and the check digit follows them: eleven digits
// or fewer are padded to eleven; a twelfth typed digit is the typist's check digit and is
// replaced by the computed one.
void upcA(std::string_view text, bool check, Encoding &out)
{
    std::string digits;
    if (check) {
        digits = check::padLeft(text, 11).substr(0, 11);
        digits.push_back(check::modulo10(digits));
        out.visibleText = digits;
    } else {
        digits = check::padLeft(text, 12);
    }
    std::string &p = out.pattern;
    p.append("505");
    for (int i = 0; i < 6; ++i)
        appendL(digits[i], p);
    p.append("05050");
    for (int i = 6; i < 12; ++i)
        appendR(digits[i], p);
    p.append("505");
}

// The check digit is the one of the UPC-A number the six digits stand for: a check digit taken
// from the six digits alone would be refused by scanners.
// With the check option six typed digits or fewer are the data (padded to six) and the check
// digit follows them; a seventh typed digit is the typist's check digit and is recomputed.
void upcE(std::string_view text, bool check, char numberSystem, Encoding &out)
{
    const std::string padded = check::padLeft(text, check ? 6 : 7);
    const std::string_view data = std::string_view(padded).substr(0, 6);
    char checkDigit = check ? '0' : padded[6];
    if (check) {
        checkDigit = check::upcE(numberSystem, data);
        out.visibleText.assign(data).push_back(checkDigit);
    }
    const char *parity = UpcEParity[digit(checkDigit)];
    const bool inverted = numberSystem == '1';
    std::string &p = out.pattern;
    p.append("505");
    for (int i = 0; i < 6; ++i)
        appendParity(data[i], parity[i], inverted, p);
    p.append("050505");
}

void upcSupp2(std::string_view text, bool check, Encoding &out)
{
    const std::string padded = check::padLeft(text, 2);
    const std::string_view digits = std::string_view(padded).substr(0, 2);
    const char *parity = Supp2Parity[(digit(digits[0]) * 10 + digit(digits[1])) % 4];
    std::string &p = out.pattern;
    p.append("506");
    appendParity(digits[0], parity[0], false, p);
    p.append("05");
    appendParity(digits[1], parity[1], false, p);
    if (check)
        out.visibleText.assign(digits).push_back(check::supplement(digits));
}

void upcSupp5(std::string_view text, bool check, Encoding &out)
{
    const std::string padded = check::padLeft(text, 5);
    const std::string_view digits = std::string_view(padded).substr(0, 5);
    const char checkDigit = check::supplement(digits);
    const char *parity = UpcEParity[digit(checkDigit)] + 1;
    std::string &p = out.pattern;
    p.append("506");
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            p.append("05");
        appendParity(digits[i], parity[i], false, p);
    }
    if (check)
        out.visibleText.assign(digits).push_back(checkDigit);
}

} // namespace zebrune::encoders
