#pragma once

#include <string>
#include <string_view>

// Check digits shared by several symbologies. Each takes a text of digits and returns the
// check digit as a character.
namespace zebrune::check {

// Weights 3 and 1 from the rightmost digit (weight 3); (10 - sum mod 10) mod 10.
// A non-digit raises "'<c>' is not a valid integer value".
char modulo10(std::string_view digits);

// Two- and five-digit add-ons: weights 3 and 9 from the rightmost digit (weight 3); sum mod 10.
char supplement(std::string_view digits);

// MSI: the digits in odd places from the right, read as one number and doubled, give the sum of
// their decimal digits; the digits in even places add as they are; (10 - total mod 10) mod 10.
char msi(std::string_view digits);

// UPC-E: the modulo 10 digit of the UPC-A number that the six zero-suppressed digits `data`
// stand for in number system `numberSystem` ('0' or '1'), as every scanner checks it.
char upcE(char numberSystem, std::string_view data);

// "0" characters in front of `text` until it has `length` characters; longer texts stay whole.
std::string padLeft(std::string_view text, std::size_t length);

} // namespace zebrune::check
