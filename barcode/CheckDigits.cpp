#include "barcode/CheckDigits.h"

#include "barcode/BarTypes.h"

namespace zebrune::check {

namespace {

int digitValue(char c)
{
    if (c < '0' || c > '9')
        throw BarcodeError(std::string("'") + c + "' is not a valid integer value");
    return c - '0';
}

char digitChar(int value)
{
    return static_cast<char>('0' + value);
}

} // namespace

char modulo10(std::string_view digits)
{
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += digitValue(*it) * weight;
        weight = 4 - weight;
    }
    return digitChar((10 - sum % 10) % 10);
}

char supplement(std::string_view digits)
{
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += digitValue(*it) * weight;
        weight = 12 - weight;
    }
    return digitChar(sum % 10);
}

char msi(std::string_view digits)
{
    // Doubling a number adds up to the same digit sum as doubling each of its digits alone and
    // adding the digits of each product, so no text is too long to read as one number.
    int total = 0;
    bool oddPlace = true;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const int d = digitValue(*it);
        total += oddPlace ? (d < 5 ? 2 * d : 2 * d - 9) : d;
        oddPlace = !oddPlace;
    }
    return digitChar((10 - total % 10) % 10);
}

char upcE(char numberSystem, std::string_view data)
{
    const std::string_view d = data.substr(0, 6);
    std::string upcA(1, numberSystem);
    switch (d[5]) {
    case '0':
    case '1':
    case '2':
        upcA.append(d.substr(0, 2)).append(1, d[5]).append("0000").append(d.substr(2, 3));
        break;
    case '3':
        upcA.append(d.substr(0, 3)).append("00000").append(d.substr(3, 2));
        break;
    case '4':
        upcA.append(d.substr(0, 4)).append("00000").append(1, d[4]);
        break;
    default:
        upcA.append(d.substr(0, 5)).append("0000").append(1, d[5]);
        break;
    }
    return modulo10(upcA);
}

std::string padLeft(std::string_view text, std::size_t length)
{
    std::string padded;
    if (text.size() < length)
        padded.assign(length - text.size(), '0');
    padded.append(text);
    return padded;
}

} // namespace zebrune::check
