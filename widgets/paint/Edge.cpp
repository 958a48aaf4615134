#include "widgets/paint/Edge.h"

#include "widgets/paint/ColorMath.h"
#include "widgets/paint/PixelOps.h"

namespace bevelo {

namespace {
struct RingColours {
    bool present = false;
    OleColor topLeft = 0;
    OleColor bottomRight = 0;
};

OleColor role(const QPalette& p, QPalette::ColorRole r) {
    return fromQRgb(p.color(QPalette::Active, r).rgb());
}

// Colours of the outer ring's bits (1 raised, 2 sunken) or the inner ring's
// (4 raised, 8 sunken); both bits of one ring at once name no ring.
RingColours outerRing(const QPalette& p, int bits) {
    if (bits == edge::RaisedOuter)
        return {true, role(p, QPalette::Midlight), role(p, QPalette::Shadow)};
    if (bits == edge::SunkenOuter) return {true, role(p, QPalette::Dark), role(p, QPalette::Light)};
    return {};
}
RingColours innerRing(const QPalette& p, int bits) {
    if (bits == edge::RaisedInner) return {true, role(p, QPalette::Light), role(p, QPalette::Dark)};
    if (bits == edge::SunkenInner)
        return {true, role(p, QPalette::Shadow), role(p, QPalette::Midlight)};
    return {};
}

struct Box {
    int left, top, right, bottom;
};

// One ring on the box's outermost pixels; the box then shrinks on the drawn sides.
void drawRing(QImage& image, Box& b, const RingColours& c, int flags) {
    if (flags & border::Top) drawLineOn(image, b.left, b.top, b.right, b.top, c.topLeft);
    if (flags & border::Left) drawLineOn(image, b.left, b.top, b.left, b.bottom, c.topLeft);
    if (flags & border::Bottom)
        drawLineOn(image, b.left, b.bottom - 1, b.right, b.bottom - 1, c.bottomRight);
    if (flags & border::Right)
        drawLineOn(image, b.right - 1, b.top, b.right - 1, b.bottom, c.bottomRight);
    if (flags & border::Left) ++b.left;
    if (flags & border::Top) ++b.top;
    if (flags & border::Right) --b.right;
    if (flags & border::Bottom) --b.bottom;
}
}  // namespace

void drawEdgeOn(QImage& image, const QPalette& palette, int x, int y, int w, int h, int kind,
                int borderFlags) {
    Box box{x, y, x + w, y + h};
    const RingColours outer = outerRing(palette, kind & 3);
    const RingColours inner = innerRing(palette, kind & 12);
    if (outer.present) drawRing(image, box, outer, borderFlags);
    if (inner.present) drawRing(image, box, inner, borderFlags);
}

}  // namespace bevelo
