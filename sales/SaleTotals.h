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

// An amount to the cent, half away from zero, as the boxes show it and the receipt keeps it.
double toCents(double amount);

struct Discount {
    double amount = 0;  // what the percentage takes off, to the cent
    double total = 0;   // what is left to collect; a negative percentage raises it
};
// The subtotal is taken to the cent first, so that the discount and the total add up to it.
Discount applyDiscount(double subtotal, double percentage);

// A line's amount: quantity times unit price, to the cent.
double lineAmount(double quantity, double unitPrice);

// What is handed back: cash and card together less the total. Negative while the tender is short.
double changeDue(double cash, double card, double total);

// An amount as the boxes show it: fixed, two decimals, decimal comma ("1234,50").
QString amountText(double value);
// The number an amount box holds: empty (or blank) counts as 0; nullopt when the text is no number.
std::optional<double> boxAmount(const QString &text);

}  // namespace sales
