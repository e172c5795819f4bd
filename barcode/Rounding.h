#pragma once

#include <climits>
#include <cmath>

namespace zebrune {

// Nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4), kept within int.
inline int roundHalfEven(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded > double(INT_MIN)))
        return INT_MIN;
    if (!(rounded < double(INT_MAX)))
        return INT_MAX;
    return static_cast<int>(rounded);
}

} // namespace zebrune
