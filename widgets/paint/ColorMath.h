// Colour arithmetic of the button faces. Colours are 0x00BBGGRR (red in the
// low byte); only the low three bytes take part, so a system-colour reference
// must be resolved (SystemColors.h) before it reaches these helpers.
#pragma once

#include <QRgb>
#include <cstdint>

#include "widgets/BeveloFields.h"

namespace bevelo {

constexpr int redOf(OleColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(OleColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(OleColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr OleColor rgb(int r, int g, int b) {
    return static_cast<OleColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// Conversions to and from Qt's 0xAARRGGBB; the result of toQRgb is opaque.
constexpr QRgb toQRgb(OleColor c) {
    return 0xFF000000u | (static_cast<QRgb>(redOf(c)) << 16) |
           (static_cast<QRgb>(greenOf(c)) << 8) | static_cast<QRgb>(blueOf(c));
}
constexpr OleColor fromQRgb(QRgb q) {
    return rgb(static_cast<int>((q >> 16) & 0xFF), static_cast<int>((q >> 8) & 0xFF),
               static_cast<int>(q & 0xFF));
}

// Each channel (a + b) / 2, halves rounded to even (1 and 2 give 2, 1 and 4 give 2).
OleColor average(OleColor a, OleColor b);

// Each channel k + (255 - k) * c \ 255 (integer division), capped at 255.
// k = 0 leaves the colour as it is, k = 255 gives white.
OleColor lighten(OleColor c, int k);

// Each channel c + 76 - 19 * ((c + 32) \ 64): +76 for 0..31, +57 for 32..95,
// +38 for 96..159, +19 for 160..223, +0 for 224..255.
OleColor brightenStepped(OleColor c);

// Each channel c + d, limited to 0..255 (add(FFFFFF, 8) stays white).
OleColor addOffset(OleColor c, int d);

// Grey v, v, v with v = r / 3 + g / 3 + b / 3 in double precision, halves to even.
OleColor threeWayGrey(OleColor c);

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
int roundHalfEven(double v);
int roundHalfEven(float v);

}  // namespace bevelo
