#pragma once

#include <QString>

#include <optional>

// The arithmetic of the sale in progress, apart from the window that shows it: own codes as the
// operator types them, the discount, the change, and the amounts' text in the boxes.
namespace sales {

constexpr int ownCodeLength = 13;

// The own code no article has: a box holding it is never looked up.
QString blankOwnCode();

// The code the operator means: the trimmed text left-padded with "0" to 13 characters. Empty text
// and a lone "0" stay as they are.
QString padOwnCode(const QString &typed);
// A code worth looking up: 13 characters or more and not the blank code.
bool isCompleteOwnCode(const QString &code);

struct Discount {
    double amount = 0;  // what the percentage takes off
    double total = 0;   // what is left to collect; a negative percentage raises it
};
Discount applyDiscount(double subtotal, double percentage);

// What is handed back: cash and card together less the total. Negative while the tender is short.
double changeDue(double cash, double card, double total);

// An amount as the boxes show it: fixed, two decimals, decimal comma ("1234,50").
QString amountText(double value);
// The number an amount box holds: empty (or blank) counts as 0; nullopt when the text is no number.
std::optional<double> boxAmount(const QString &text);

}  // namespace sales
