#pragma once

#include "barcode/Rounding.h"

#include <QPoint>

#include <cmath>
#include <numbers>

namespace zebrune {

// A counter-clockwise turn by an angle in degrees, in device coordinates (y grows downwards).
// Whole multiples of 90 degrees are exact, so the four orientations carry no rounding noise.
class Rotation {
public:
    explicit Rotation(double degrees)
    {
        double reduced = std::fmod(degrees, 360.0);
        if (reduced < 0)
            reduced += 360.0;
        if (reduced == 0.0 || reduced == 90.0 || reduced == 180.0 || reduced == 270.0) {
            const int quarter = static_cast<int>(reduced) / 90;
            constexpr double Sines[4] = {0, 1, 0, -1};
            sin_ = Sines[quarter];
            cos_ = Sines[(quarter + 1) % 4];
        } else {
            const double radians = degrees * std::numbers::pi / 180.0;
            sin_ = std::sin(radians);
            cos_ = std::cos(radians);
        }
    }

    // Where the point (x, y) of the unturned drawing lands, relative to the turning centre.
    QPoint map(int x, int y) const { return {roundHalfEven(x * cos_ + y * sin_), roundHalfEven(-x * sin_ + y * cos_)}; }

    // The shift from (left, top) to the turning centre that keeps the turned w x h box below and
    // right of (left, top).
    QPoint anchorShift(int w, int h) const
    {
        const auto r = [](double v) { return roundHalfEven(v); };
        if (sin_ >= 0 && cos_ >= 0)
            return {0, r(w * sin_)};
        if (sin_ >= 0)
            return {-r(w * cos_), r(w * sin_ - h * cos_)};
        if (cos_ >= 0)
            return {-r(h * sin_), 0};
        return {-r(w * cos_) - r(h * sin_), -r(h * cos_)};
    }

    // Extents of the turned w x h box: round(w |cos| + h |sin| + 0.5), ties to even.
    int extentX(int w, int h) const { return roundHalfEven(w * std::abs(cos_) + h * std::abs(sin_) + 0.5); }
    int extentY(int w, int h) const { return roundHalfEven(w * std::abs(sin_) + h * std::abs(cos_) + 0.5); }

private:
    double sin_ = 0;
    double cos_ = 1;
};

} // namespace zebrune
