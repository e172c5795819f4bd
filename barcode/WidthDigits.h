#pragma once

#include <string>
#include <string_view>

namespace zebrune {

// Code 128 and Code 93 are tabled as element widths 1..4 ("212222"). The writer turns them
// into element codes as they are appended: elements alternate bar, space, bar, ... from the
// first one written, so a width at an even place becomes a bar "5".."8" and one at an odd place
// a space "0".."3".
class WidthDigitWriter {
public:
    explicit WidthDigitWriter(std::string &pattern) : pattern_(pattern) {}

    void append(std::string_view widths)
    {
        for (const char w : widths) {
            pattern_.push_back(static_cast<char>(bar_ ? w + ('5' - '1') : w - ('1' - '0')));
            bar_ = !bar_;
        }
    }

private:
    std::string &pattern_;
    bool bar_ = true;
};

} // namespace zebrune
