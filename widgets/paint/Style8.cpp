// Style 8: soft gradient face with 2-pixel cut corners, light inner lines and
// a soft shadow; the border darkens while the control has the focus.
#include "widgets/paint/DrawnFaceKit.h"
#include "widgets/paint/DrawnStyles.h"

namespace bevelo::drawn {

static void face8(Surface& c, const FaceInputs& in) {
    const int W = c.width(), H = c.height();
    const bool pressed = in.state == StatePressed;
    const bool normal = in.state == StateNormal;
    const OleColor base =
        in.custom ? (normal ? in.back : in.highlight) : (normal ? in.face : add(in.face, 15));
    c.setBackground(base);

    const OleColor light = pressed ? base : add(base, 96);
    const OleColor dark = pressed ? add(base, 96) : base;
    if (pressed)
        vgrad(c, add(base, -15), add(base, 15), 2, W - 3, 2, H - 6);
    else
        vgrad(c, add(base, 15), add(base, -15), 2, W - 3, 2, H - 6);
    c.drawLine(2, 1, W - 3, 1, light);
    c.drawLine(1, 2, 1, H - 3, light);
    c.drawLine(2, H - 3, W - 2, H - 3, dark);
    c.drawLine(W - 2, 2, W - 2, H - 3, dark);

    const OleColor b = in.custom ? in.back : in.face;
    const OleColor k = !pressed && in.hasFocus ? add(b, -96) : add(b, -48);
    c.drawLine(2, 0, W - 3, 0, k);
    c.drawLine(0, 2, 0, H - 3, k);
    c.drawLine(2, H - 2, W - 3, H - 2, k);
    c.drawLine(W - 2, 2, W - 2, H - 3, k);
    for (auto [x, y] : {std::pair{1, 1}, {1, H - 3}, {W - 3, 1}, {W - 3, H - 3}})
        c.setPixel(x, y, k);

    const OleColor s = add(k, 21);
    c.drawLine(3, H - 1, W - 4, H - 1, s);
    c.drawLine(W - 1, 3, W - 1, H - 4, s);
    c.drawLine(W - 4, H - 1, W, H - 5, s);
    c.drawLine(W - 3, H - 1, W, H - 4, add(s, 15));
}

}  // namespace bevelo::drawn

namespace bevelo {

void drawStyle8(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt) {
    drawn::face8(surface, drawn::faceInputs(surface, props, rt));
}

}  // namespace bevelo
