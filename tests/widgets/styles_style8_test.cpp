// Style 8: soft gradient face; the border darkens while focused and not pressed.
#include "tests/widgets/styles_face_fixture.h"

using namespace styles_test;

namespace {

constexpr int kW = 64, kH = 24;

Face style8(int state, bool focus, bool custom = false) {
    Face f(kW, kH);
    f.props.UseCustomColors = custom;
    f.props.BackColor = rf(0xA0B0C0);
    f.props.HighlightColor = rf(0x40C0F0);
    f.rt.state = state;
    f.rt.hasFocus = focus;
    f.draw(bevelo::drawStyle8);
    return f;
}

void expectBorder(const Face& f, OleColor k) {
    for (auto [x, y] :
         {std::pair{5, 0}, {0, 5}, {5, kH - 2}, {kW - 2, 5}, {1, 1}, {kW - 3, kH - 3}})
        EXPECT_PIXEL(f, x, y, k);
    const OleColor s = plus(k, 21);
    EXPECT_PIXEL(f, 5, kH - 1, s);
    EXPECT_PIXEL(f, kW - 1, 5, s);
    EXPECT_PIXEL(f, kW - 3, kH - 1, plus(s, 15));  // the lighter diagonal
    EXPECT_PIXEL(f, kW - 1, kH - 3, plus(s, 15));
}

}  // namespace

TEST(Style8, BorderIsDarkerWhileFocusedExceptPressed) {
    expectBorder(style8(StateNormal, false), plus(kFace, -48));
    expectBorder(style8(StateNormal, true), plus(kFace, -96));
    expectBorder(style8(StateHot, true), plus(kFace, -96));
    expectBorder(style8(StatePressed, true), plus(kFace, -48));
    expectBorder(style8(StatePressed, false), plus(kFace, -48));
}

TEST(Style8, RaisedAndPressedFaces) {
    const Face n = style8(StateNormal, false);
    const OleColor c = kFace;
    EXPECT_EQ(n.background(), c);
    EXPECT_PIXEL(n, 5, 2, plus(c, 15));        // gradient start
    EXPECT_PIXEL(n, 5, kH - 4, plus(c, -15));  // gradient end, H - 6 steps on
    EXPECT_PIXEL(n, 5, 1, plus(c, 96));        // light top line
    EXPECT_PIXEL(n, 1, 5, plus(c, 96));        // light left line
    EXPECT_PIXEL(n, 5, kH - 3, c);             // inner bottom line

    const Face h = style8(StateHot, false);
    const OleColor hc = plus(kFace, 15);
    EXPECT_EQ(h.background(), hc);
    EXPECT_PIXEL(h, 5, 2, plus(hc, 15));

    const Face p = style8(StatePressed, false);
    EXPECT_PIXEL(p, 5, 2, plus(hc, -15));
    EXPECT_PIXEL(p, 5, kH - 4, plus(hc, 15));
    EXPECT_PIXEL(p, 5, 1, hc);
    EXPECT_PIXEL(p, 5, kH - 3, plus(hc, 96));
}

TEST(Style8, CustomColoursTakeBackAndHighlight) {
    const Face n = style8(StateNormal, false, true);
    EXPECT_EQ(n.background(), rf(0xA0B0C0));
    expectBorder(n, plus(rf(0xA0B0C0), -48));
    const Face h = style8(StateHot, true, true);
    EXPECT_EQ(h.background(), rf(0x40C0F0));
    EXPECT_PIXEL(h, 5, 2, plus(rf(0x40C0F0), 15));
    expectBorder(h, plus(rf(0xA0B0C0), -96));  // the border follows BackColor
}
