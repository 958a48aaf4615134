// Style 9: banded face: a gradient body between shaded edge columns, light
// top lines, a highlight dot and darker bottom rows.
#include <cmath>

#include "widgets/paint/DrawnFaceKit.h"
#include "widgets/paint/DrawnStyles.h"

namespace bevelo::drawn {

static void face9(Surface& c, const FaceInputs& in) {
    const int W = c.width(), H = c.height();
    // H / 2 - k in floating point, then to the nearest integer with halves to even.
    auto half = [H](int k) { return int(std::nearbyint(H / 2.0 - k)); };
    const OleColor back = in.custom ? in.back : in.face;
    const OleColor hot = in.custom ? in.highlight : in.face;
    OleColor b;
    switch (in.state) {
        case StateNormal:
            b = add(back, -15);
            break;
        case StateHot:
            b = add(hot, 1);
            break;
        case StatePressed:
            b = add(hot, 24);
            break;
        default:
            b = add(back, 15);
            break;
    }
    c.setBackground(b);
    // Body and left edge.
    vgrad(c, add(b, 32), add(b, -32), 5, W - 5, 2, H - 6);
    vgrad(c, add(b, 128), add(b, -128), 0, 1, 0, H - 4);
    // Upper left shading.
    vgrad(c, b, add(b, -37), 2, 3, 4, half(7));
    vgrad(c, b, add(b, -53), 3, 4, 3, half(7));
    vgrad(c, b, add(b, -37), 4, 5, 2, half(7));
    vgrad(c, add(b, 37), add(b, 5), 5, 6, 2, half(4));
    // Lower left shading.
    vgrad(c, add(b, -37), add(b, -32), 2, 3, half(2), half(5));
    vgrad(c, add(b, -53), add(b, -32), 3, 4, half(3), half(3));
    vgrad(c, add(b, -37), add(b, -32), 4, 5, half(4), half(1));
    vgrad(c, add(b, 5), add(b, -5), 5, 6, half(4), half(3));
    // Bottom left rows.
    hgrad(c, add(b, -53), add(b, -32), 5, 12, H - 5);
    hgrad(c, add(b, -56), add(b, -32), 4, 7, H - 6);
    hgrad(c, add(b, -37), add(b, -32), 3, 5, H - 7);
    // Right edge and its outermost column.
    vgrad(c, add(b, 128), add(b, -128), W - 2, W - 1, 0, H - 4);
    vgrad(c, add(b, 128), add(b, -48), W - 1, W, 0, half(0));
    vgrad(c, add(b, -64), add(b, -8), W - 1, W, half(0), half(4));
    // Upper right shading.
    vgrad(c, b, add(b, -37), W - 4, W - 3, 4, half(5));
    vgrad(c, b, add(b, -48), W - 5, W - 4, 3, half(4));
    vgrad(c, b, add(b, -37), W - 6, W - 5, 2, half(3));
    vgrad(c, add(b, 37), add(b, 5), W - 7, W - 6, 2, half(4));
    // Lower right shading.
    vgrad(c, add(b, -37), add(b, -21), W - 4, W - 3, half(0), half(5));
    vgrad(c, add(b, -48), add(b, -37), W - 5, W - 4, half(0), half(5));
    vgrad(c, add(b, -37), add(b, -53), W - 6, W - 5, half(0), half(4));
    vgrad(c, add(b, -5), add(b, -37), W - 7, W - 6, half(0), half(4));
    // Bottom right row.
    hgrad(c, add(b, -32), add(b, -53), W - 15, W - 7, H - 4);
    // Top lines.
    c.drawLine(3, 0, W - 3, 0, add(b, 48));
    c.drawLine(1, 1, W - 1, 1, add(b, 48));
    c.drawLine(5, 1, W - 5, 1, b);
    // Top right highlight rows.
    hgrad(c, add(b, 32), b, W - 11, W - 4, 2);
    hgrad(c, add(b, 32), b, W - 10, W - 5, 3);
    hgrad(c, add(b, 32), b, W - 9, W - 6, 4);
    // Highlight dot.
    c.drawLine(6, 3, 7, 3, add(b, 128));
    // Bottom lines.
    c.drawLine(3, H - 1, W - 3, H - 1, add(b, -16));
    c.drawLine(2, H - 2, W - 3, H - 2, add(b, -128));
    c.drawLine(7, H - 3, W - 7, H - 3, b);
    // Corner pixels and the lower right diagonal.
    c.setPixel(1, H - 3, add(b, -112));
    c.setPixel(W - 3, H - 3, add(b, -112));
    c.drawLine(W - 4, H - 1, W - 1, H - 4, add(b, -21));
}

}  // namespace bevelo::drawn

namespace bevelo {

void drawStyle9(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt) {
    drawn::face9(surface, drawn::faceInputs(surface, props, rt));
}

}  // namespace bevelo
