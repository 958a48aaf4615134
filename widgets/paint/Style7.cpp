// Style 7: cut-corner gradient face with a dark border, highlight bands when
// hot, or when normal and focused.
#include "widgets/paint/DrawnFaceKit.h"
#include "widgets/paint/DrawnStyles.h"

namespace bevelo::drawn {

namespace {

struct Style7Look {
    int base;                         // c = add(b0, base)
    int bodyFrom, bodyTo, bodySteps;  // steps counted back from H
    int leftFrom, leftTo;
    int rightFrom, rightTo;
    int outerCorner;          // add(b0, .)
    int topLine, bottomLine;  // add(b0, .)
};

Style7Look lookFor(int state) {
    switch (state) {
        case StateHot:
            return {24, 16, -16, 3, 21, -21, -5, -32, -21, 21, -16};
        case StatePressed:
            return {-9, -15, 0, 2, -32, -5, -21, 21, -21, -21, 8};
        case StateNormal:
            return {8, 15, -15, 3, 21, -21, -5, -32, -21, 21, -37};
        default:
            return {18, 15, -15, 3, 21, -21, -5, -32, 5, 21, -37};  // disabled and others
    }
}

}  // namespace

static void face7(Surface& c, const FaceInputs& in) {
    const int W = c.width(), H = c.height();
    const OleColor b0 = in.custom ? in.back : in.face;
    const Style7Look look = lookFor(in.state);
    const OleColor base = add(b0, look.base);
    c.setBackground(base);
    vgrad(c, add(base, look.bodyFrom), add(base, look.bodyTo), 1, W - 2, 1, H - look.bodySteps);
    vgrad(c, add(base, look.leftFrom), add(base, look.leftTo), 1, 2, 2, H - 5);
    vgrad(c, add(base, look.rightFrom), add(base, look.rightTo), W - 2, W - 3, 2, H - 5);

    const OleColor k = add(base, -96);
    octagonRim(c, W, H, k, add(b0, look.outerCorner));
    c.drawLine(2, 1, W - 2, 1, add(b0, look.topLine));
    c.drawLine(2, H - 2, W - 2, H - 2, add(b0, look.bottomLine));

    if (in.state == StateHot || (in.state == StateNormal && in.hasFocus)) {
        const OleColor f = in.custom ? in.highlight : in.selection;
        c.drawLine(2, 1, W - 2, 1, add(f, 21));
        c.drawLine(1, 2, W - 1, 2, add(f, 21));
        c.drawLine(1, H - 3, W - 1, H - 3, add(f, -5));
        c.drawLine(2, H - 2, W - 2, H - 2, add(f, -21));
    }
}

}  // namespace bevelo::drawn

namespace bevelo {

void drawStyle7(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt) {
    drawn::face7(surface, drawn::faceInputs(surface, props, rt));
}

}  // namespace bevelo
