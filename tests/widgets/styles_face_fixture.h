// Shared set-up of the drawn-face tests: a surface of known size, a palette with
// known system colours, and the colour arithmetic written out independently.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "widgets/BeveloFields.h"
#include "widgets/paint/ColorMath.h"
#include "widgets/paint/DrawnStyles.h"
#include "widgets/paint/Surface.h"

namespace styles_test {

// 0xRRGGBB as written in the face tables -> stored order 0x00BBGGRR.
constexpr OleColor rf(unsigned rrggbb) {
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

inline OleColor plus(OleColor c, int d) {
    auto ch = [&](int shift) {
        return OleColor(std::clamp(int((c >> shift) & 0xFF) + d, 0, 255)) << shift;
    };
    return ch(0) | ch(8) | ch(16);
}

// Step i of n from a to b per channel (single precision, nearest with halves to even).
inline OleColor ramp(OleColor a, OleColor b, int i, int n) {
    auto ch = [&](int shift) {
        const float s = float((a >> shift) & 0xFF), e = float((b >> shift) & 0xFF);
        return OleColor(std::nearbyint(s + (e - s) * float(i) / float(n))) << shift;
    };
    return ch(0) | ch(8) | ch(16);
}

// Known system colours: face D4D0C8, shadow 808080, highlight 316AC5, window white.
constexpr OleColor kFace = rf(0xD4D0C8);
constexpr OleColor kShadow = rf(0x808080);
constexpr OleColor kSelection = rf(0x316AC5);

inline QPalette knownPalette() {
    QPalette p;
    p.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
    p.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Highlight, QColor(0x31, 0x6A, 0xC5));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::ButtonText, Qt::black);
    return p;
}

using FaceFn = void (*)(bevelo::Surface&, const BeveloProperties&, const BeveloRuntime&);

// Draws one face on a fresh W x H surface and keeps it for pixel reads.
class Face {
  public:
    Face(int w, int h) : image_(w, h, QImage::Format_RGB32), palette_(knownPalette()) {
        image_.fill(Qt::magenta);  // anything the face leaves alone shows up
    }
    BeveloProperties props;
    BeveloRuntime rt;

    Face& draw(FaceFn fn) {
        bevelo::Surface s(image_, palette_);
        fn(s, props, rt);
        background_ = s.background();
        return *this;
    }
    OleColor at(int x, int y) const { return bevelo::fromQRgb(image_.pixel(x, y)); }
    int W() const { return image_.width(); }
    int H() const { return image_.height(); }
    OleColor background() const { return background_; }
    QImage& image() { return image_; }
    const QPalette& palette() const { return palette_; }

  private:
    QImage image_;
    QPalette palette_;
    OleColor background_ = 0;
};

}  // namespace styles_test

// Pixel comparisons print as 6-digit hex (stored order).
#define EXPECT_PIXEL(face, x, y, colour)                                                 \
    EXPECT_EQ((face).at((x), (y)), (colour))                                             \
        << "pixel (" << (x) << ", " << (y) << ") is " << std::hex << (face).at((x), (y)) \
        << ", expected " << (colour) << std::dec
