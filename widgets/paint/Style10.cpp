// Style 10: a fixed rounded-button image (corner radius 9) in three variants,
// independent of every colour property. Each variant is described by four edge
// profiles (colour by distance inward from the left, top, right and bottom
// edges) and its centre colour; the straight edges are those profiles drawn as
// stretching lines, and each corner pixel blends the profiles of its two edges
// by its angle around the corner's centre, with the outer rim anti-aliased.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "widgets/paint/DrawnFaceKit.h"
#include "widgets/paint/DrawnStyles.h"
#include "widgets/paint/RoundImage.h"

namespace bevelo::drawn {

namespace {

using RedFirst = unsigned;  // 0xRRGGBB, as the tables are written

constexpr double kRadius = 9.5;     // outer rim to corner centre, in pixels
constexpr int kSideColumns = 18;    // left stretching columns x = 0..17
constexpr int kRightColumns = 17;   // right stretching columns x = W - 17..W - 1
constexpr int kTopRows = 12;        // top stretching rows y = 0..11
constexpr int kBottomRows = 12;     // bottom stretching rows y = H - 12..H - 1
constexpr int kCornerW = 17;        // corner boxes: x = 0..16 and W - 17..W - 1
constexpr int kTopCornerH = 11;     // top corner boxes: y = 0..10
constexpr int kBottomCornerH = 10;  // bottom corner boxes: y = H - 10..H - 1

// Table colours are written red first (0xRRGGBB) and converted by hex() when drawn.
// A variant's edges. Each profile lists colours from its outermost pixel inward;
// `rimPixel` is the index of the first pixel inside the button's rim (pixels
// before it are the light halo outside the rim).
struct Profile {
    std::vector<RedFirst> colours;
    int rimPixel;
};

struct Variant {
    Profile left, top, right, bottom;
    RedFirst centre;
    RedFirst outsideTop;  // beyond the rim above the top edge
};

Variant variantA() {
    return {
        {{0xF7F7F7, 0xA0A0A0, 0x999999, 0xC3C3C3, 0xC9C9C9, 0xD5D5D5, 0xD7D7D7, 0xDFDFDF, 0xE0E0E0,
          0xE0E0E0, 0xE4E4E4, 0xE6E8E6, 0xE7E7E8, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA},
         1},
        {{0x6A6967, 0xF6F4F5, 0xF4F2F3, 0xEEEEEE, 0xEBEBEB, 0xEAE8EB, 0xEAE8EB, 0xEAEAEA, 0xE1E1E1,
          0xE3E2E5, 0xE8E7EA, 0xE9EBE8},
         0},
        {{0xF6F6F6, 0x9C9C9C, 0xA3A3A3, 0xC3C3C3, 0xCCCCCC, 0xD3D3D3, 0xD9D9D9, 0xDEDEDE, 0xE0E0E0,
          0xE0E0E0, 0xE4E4E4, 0xE6E6E6, 0xE7E7E7, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA},
         1},
        // Bottom: a darker rim, a slight shade above it, then the face.
        {{0xF4F4F4, 0x8A8A8A, 0x9E9E9E, 0xC6C6C6, 0xD2D2D2, 0xD8D8D8, 0xDCDCDC, 0xE0E0E0, 0xE3E3E3,
          0xE6E5E8, 0xE8E7EA, 0xE8E7EA},
         1},
        0xE8E7EA,  // kRoundCentreA
        0xFEFEFE,
    };
}

// Hot or focused: the same button lit in a soft blue.
Variant variantB() {
    return {
        {{0xF2F6FA, 0x6F98BF, 0x6590B9, 0xA9C5E0, 0xB8D0E8, 0xC8DCEF, 0xCDDFF1, 0xD6E5F4, 0xD9E7F5,
          0xDBE8F6, 0xE0ECF8, 0xE2EDF8, 0xE3EEF9, 0xE3EEF9, 0xE3EEF9, 0xE3EEF9, 0xE3EEF9, 0xE3EEF9},
         1},
        {{0x3C6E9B, 0xF5FAFF, 0xEEF5FC, 0xE9F2FB, 0xE6F0FA, 0xE5EFFA, 0xE4EFF9, 0xE4EEF9, 0xDDE9F6,
          0xDFEAF7, 0xE3EEF9, 0xE3EEF9},
         0},
        {{0xF1F5F9, 0x668FB6, 0x6C94BB, 0xA5C1DD, 0xB3CCE5, 0xC2D7EC, 0xCADCEF, 0xD2E2F3, 0xD7E6F5,
          0xDAE7F6, 0xDFEBF7, 0xE2EDF8, 0xE3EEF9, 0xE3EEF9, 0xE3EEF9, 0xE3EEF9, 0xE3EEF9},
         1},
        {{0xF0F4F8, 0x557FA8, 0x7097BD, 0xB1CAE3, 0xC3D7EC, 0xCEDFF1, 0xD5E4F4, 0xDAE8F6, 0xDEEAF7,
          0xE1ECF8, 0xE3EEF9, 0xE3EEF9},
         1},
        0xE3EEF9,
        0xFDFEFF,
    };
}

// Pressed: darker, shaded from the top, with a faint light rim at the bottom.
Variant variantC() {
    return {
        {{0xF3F3F3, 0x6D7E90, 0x7A8A9B, 0xB4BDC7, 0xC3CAD2, 0xCBD1D8, 0xD0D5DC, 0xD3D8DE, 0xD5DAE0,
          0xD7DBE1, 0xD8DCE2, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3},
         1},
        {{0x4A5C70, 0xB8C0CA, 0xC4CBD3, 0xCCD2D9, 0xD1D6DC, 0xD4D9DF, 0xD6DAE0, 0xD7DBE1, 0xD8DCE2,
          0xD9DDE3, 0xD9DDE3, 0xD9DDE3},
         0},
        {{0xF3F3F3, 0x6D7E90, 0x7F8E9E, 0xBAC2CB, 0xC8CED5, 0xCED3DA, 0xD2D7DD, 0xD4D9DF, 0xD6DAE0,
          0xD8DCE2, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3, 0xD9DDE3},
         1},
        {{0xF3F3F3, 0x73849A, 0x9AA7B5, 0xE2E6EB, 0xE0E4E9, 0xDDE1E6, 0xDBDFE4, 0xDADEE4, 0xD9DDE3,
          0xD9DDE3, 0xD9DDE3, 0xD9DDE3},
         1},
        0xD9DDE3,
        0xFAFAFA,
    };
}

int ch(RedFirst c, int shift) {
    return int((c >> shift) & 0xFF);
}

RedFirst mix(RedFirst a, RedFirst b, double t) {
    auto m = [&](int s) {
        return RedFirst(std::clamp(int(std::lround(ch(a, s) + (ch(b, s) - ch(a, s)) * t)), 0, 255))
               << s;
    };
    return m(16) | m(8) | m(0);
}

// Colour of a profile at distance d inward from its rim (d = 0.5 is the centre
// of the rim's first pixel), sampled between pixel centres.
RedFirst inward(const Profile& p, double d, RedFirst outside) {
    const double pos = d - 0.5 + p.rimPixel;  // index into the colour list
    const int last = int(p.colours.size()) - 1;
    if (pos <= p.rimPixel) {
        // On the rim: blend with the outside by how much of the pixel is covered.
        const double cover = std::clamp(d + 0.5, 0.0, 1.0);
        return mix(outside, p.colours[p.rimPixel], cover);
    }
    if (pos >= last) return p.colours[last];
    const int i = int(std::floor(pos));
    return mix(p.colours[i], p.colours[i + 1], pos - i);
}

RedFirst outsideOf(const Profile& p, RedFirst fallback) {
    return p.rimPixel > 0 ? p.colours[0] : fallback;
}

// One corner pixel. (px, py) is the pixel centre, (cx, cy) the corner's centre;
// hEdge is the vertical side's profile (left or right) at distance dh from its
// rim, vEdge the horizontal side's (top or bottom) at dv.
RedFirst cornerPixel(double px, double py, double cx, double cy, const Profile& hEdge, double dh,
                     const Profile& vEdge, double dv, RedFirst vOutside) {
    const RedFirst hOut = outsideOf(hEdge, vOutside);
    const RedFirst vOut = outsideOf(vEdge, vOutside);
    if (dh < kRadius && dv < kRadius) {
        // Beyond the corner's centre on both axes: on the arc.
        const double ax = std::abs(px - cx), ay = std::abs(py - cy);
        const double d = kRadius - std::hypot(ax, ay);
        const double t =
            std::atan2(ax, ay) / (M_PI / 2);  // 0 towards the top or bottom, 1 sideways
        const RedFirst out = mix(vOut, hOut, t);
        return mix(inward(vEdge, d, out), inward(hEdge, d, out), t);
    }
    // Along a straight stretch: the nearer edge decides.
    if (dv < dh) return inward(vEdge, dv, vOut);
    if (dh < dv) return inward(hEdge, dh, hOut);
    return mix(inward(vEdge, dv, vOut), inward(hEdge, dh, hOut), 0.5);
}

// The four corner boxes of a variant, in stored colour order, row by row. A
// corner pixel depends only on its place relative to its own two edges, so the
// boxes are worked out once per variant, on a reference size, and reused.
struct CornerBoxes {
    std::array<OleColor, kCornerW * kTopCornerH> topLeft, topRight;
    std::array<OleColor, kCornerW * kBottomCornerH> bottomLeft, bottomRight;
};

CornerBoxes cornerBoxesOf(const Variant& v) {
    constexpr int W = 64, H = 64;  // any size that keeps the corners apart
    // Rims: left at x = 1, top at y = 0, right at x = W - 1, bottom at y = H - 1
    // (each the outer edge of the rim's first pixel, in continuous coordinates).
    const double leftRim = v.left.rimPixel, topRim = v.top.rimPixel;
    const double rightRim = W - v.right.rimPixel, bottomRim = H - v.bottom.rimPixel;
    const double cxL = leftRim + kRadius, cxR = rightRim - kRadius;
    const double cyT = topRim + kRadius, cyB = bottomRim - kRadius;
    auto box = [&](OleColor* out, int x0, int y0, int h, bool left, bool top) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + kCornerW; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double dh = left ? px - leftRim : rightRim - px;
                const double dv = top ? py - topRim : bottomRim - py;
                *out++ = hex(cornerPixel(px, py, left ? cxL : cxR, top ? cyT : cyB,
                                         left ? v.left : v.right, dh, top ? v.top : v.bottom, dv,
                                         v.outsideTop));
            }
    };
    CornerBoxes boxes;
    box(boxes.topLeft.data(), 0, 0, kTopCornerH, true, true);
    box(boxes.topRight.data(), W - kCornerW, 0, kTopCornerH, false, true);
    box(boxes.bottomLeft.data(), 0, H - kBottomCornerH, kBottomCornerH, true, false);
    box(boxes.bottomRight.data(), W - kCornerW, H - kBottomCornerH, kBottomCornerH, false, false);
    return boxes;
}

struct RoundImage {
    Variant variant;
    CornerBoxes corners;
};

const RoundImage& imageOf(RoundVariant which) {
    static const std::array<RoundImage, 3> images = [] {
        const Variant a = variantA(), b = variantB(), c = variantC();
        return std::array<RoundImage, 3>{RoundImage{a, cornerBoxesOf(a)},
                                         RoundImage{b, cornerBoxesOf(b)},
                                         RoundImage{c, cornerBoxesOf(c)}};
    }();
    return images[static_cast<int>(which)];
}

void drawVariant(Surface& c, const RoundImage& image) {
    const int W = c.width(), H = c.height();
    const Variant& v = image.variant;
    c.fillBox(18, 11, W - 34, H - 19, hex(v.centre));

    auto box = [&](const OleColor* colours, int x0, int y0, int h) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + kCornerW; ++x) c.setPixel(x, y, *colours++);
    };
    box(image.corners.topLeft.data(), 0, 0, kTopCornerH);
    box(image.corners.topRight.data(), W - kCornerW, 0, kTopCornerH);
    box(image.corners.bottomLeft.data(), 0, H - kBottomCornerH, kBottomCornerH);
    box(image.corners.bottomRight.data(), W - kCornerW, H - kBottomCornerH, kBottomCornerH);

    // Stretching lines: columns down the sides, rows across the top and bottom.
    auto at = [](const Profile& p, int i) {
        return p.colours[std::min<size_t>(i, p.colours.size() - 1)];
    };
    for (int i = 0; i < kSideColumns; ++i) c.drawLine(i, 11, i, H - 10, hex(at(v.left, i)));
    for (int i = 0; i < kRightColumns; ++i)
        c.drawLine(W - 1 - i, 11, W - 1 - i, H - 10, hex(at(v.right, i)));
    for (int i = 0; i < kTopRows; ++i) c.drawLine(17, i, W - 17, i, hex(at(v.top, i)));
    for (int i = 0; i < kBottomRows; ++i)
        c.drawLine(17, H - 1 - i, W - 17, H - 1 - i, hex(at(v.bottom, i)));
}

// Corner pixels of variant A that are fixed outright: the start of the top
// rim's curve and the end of the second row.
void variantAFixedPixels(Surface& c) {
    const OleColor firstRow[] = {0xFEFEFE, 0xE6E6E6, 0xACACAC, 0x7A7A7A,
                                 0x6C6C6C, 0x6B6B6B, 0x6F6F6F, 0x6F6F71};
    for (int i = 0; i < 8; ++i) c.setPixel(6 + i, 0, hex(firstRow[i]));
    for (int x = 12; x <= 17; ++x) c.setPixel(x, 1, hex(0xF6F4F5));
}

}  // namespace

RoundVariant roundVariantFor(int state, bool hasFocus) {
    const bool restful = state == StateNormal || state == StateDisabled;
    if (restful && !hasFocus) return RoundVariant::A;
    if (state == StateHot || restful) return RoundVariant::B;
    return RoundVariant::C;
}

static void face10(Surface& c, const FaceInputs& in) {
    const RoundVariant which = roundVariantFor(in.state, in.hasFocus);
    drawVariant(c, imageOf(which));
    if (which == RoundVariant::A) variantAFixedPixels(c);
}

}  // namespace bevelo::drawn

namespace bevelo {

void drawStyle10(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt) {
    drawn::face10(surface, drawn::faceInputs(surface, props, rt));
}

}  // namespace bevelo
