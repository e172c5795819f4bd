#pragma once

#include <string_view>

namespace zebrune {

// The two-character sequence (or the character itself) that stands for an ASCII character
// 0..127 in full-ASCII Code 39: "%U" for 0, "$A".."$Z" for 1..26, "/M" for "-", "+A" for "a",
// "%T" for 127 and so on. Code 93 writes the same sequences with its shift characters.
std::string_view code39FullAscii(unsigned char c);

// As code39FullAscii with "$", "%", "/" and "+" written as the Code 93 shifts "[", "]", "{", "}".
std::string_view code93FullAscii(unsigned char c);

} // namespace zebrune
