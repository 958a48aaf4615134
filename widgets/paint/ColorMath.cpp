#include "widgets/paint/ColorMath.h"

#include <algorithm>
#include <cmath>

namespace bevelo {

namespace {
int clampChannel(int v) {
    return std::clamp(v, 0, 255);
}

template <typename Op>
OleColor perChannel(OleColor c, Op op) {
    return rgb(op(redOf(c)), op(greenOf(c)), op(blueOf(c)));
}
}  // namespace

int roundHalfEven(double v) {
    const double low = std::floor(v);
    const double diff = v - low;
    if (diff > 0.5) return static_cast<int>(low) + 1;
    if (diff < 0.5) return static_cast<int>(low);
    return std::fmod(low, 2.0) == 0.0 ? static_cast<int>(low) : static_cast<int>(low) + 1;
}

int roundHalfEven(float v) {
    const float low = std::floor(v);
    const float diff = v - low;
    if (diff > 0.5f) return static_cast<int>(low) + 1;
    if (diff < 0.5f) return static_cast<int>(low);
    return std::fmod(low, 2.0f) == 0.0f ? static_cast<int>(low) : static_cast<int>(low) + 1;
}

OleColor average(OleColor a, OleColor b) {
    auto avg = [](int x, int y) {
        const int sum = x + y;
        const int half = sum / 2;
        // An odd sum lies halfway: take the even neighbour.
        return (sum % 2 != 0 && half % 2 != 0) ? half + 1 : half;
    };
    return rgb(avg(redOf(a), redOf(b)), avg(greenOf(a), greenOf(b)), avg(blueOf(a), blueOf(b)));
}

OleColor lighten(OleColor c, int k) {
    return perChannel(c, [k](int ch) { return clampChannel(k + (255 - k) * ch / 255); });
}

OleColor brightenStepped(OleColor c) {
    return perChannel(c, [](int ch) { return clampChannel(ch + 76 - 19 * ((ch + 32) / 64)); });
}

OleColor addOffset(OleColor c, int d) {
    return perChannel(c, [d](int ch) { return clampChannel(ch + d); });
}

OleColor threeWayGrey(OleColor c) {
    const double v = redOf(c) / 3.0 + greenOf(c) / 3.0 + blueOf(c) / 3.0;
    const int g = clampChannel(roundHalfEven(v));
    return rgb(g, g, g);
}

}  // namespace bevelo
