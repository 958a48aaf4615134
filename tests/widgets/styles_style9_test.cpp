// Style 9: banded face; the half-height positions round halves to even.
#include "tests/widgets/styles_face_fixture.h"

using namespace styles_test;

namespace {

// H = 27: H / 2 = 13.5, so H / 2 rounds to 14 and H / 2 - 4 = 9.5 rounds to 10.
constexpr int kW = 80, kH = 27;

Face style9(int state, bool custom = false) {
    Face f(kW, kH);
    f.props.UseCustomColors = custom;
    f.props.BackColor = rf(0x5070A0);
    f.props.HighlightColor = rf(0xC08040);
    f.rt.state = state;
    f.draw(bevelo::drawStyle9);
    return f;
}

void expectBands(const Face& f, OleColor c) {
    EXPECT_EQ(f.background(), c);
    EXPECT_PIXEL(f, kW / 2, 0, plus(c, 48));  // top lines
    EXPECT_PIXEL(f, 2, 1, plus(c, 48));
    EXPECT_PIXEL(f, kW / 2, 1, c);
    EXPECT_PIXEL(f, kW / 2, 2, plus(c, 32));  // body start
    EXPECT_PIXEL(f, 0, 0, plus(c, 128));      // left edge
    EXPECT_PIXEL(f, 0, kH - 4, plus(c, -128));
    EXPECT_PIXEL(f, 6, 3, plus(c, 128));       // highlight dot
    EXPECT_PIXEL(f, kW - 11, 2, plus(c, 32));  // top right highlight row
    EXPECT_PIXEL(f, kW - 4, 2, c);
    EXPECT_PIXEL(f, kW / 2, kH - 1, plus(c, -16));  // bottom lines
    EXPECT_PIXEL(f, 5, kH - 2, plus(c, -128));
    EXPECT_PIXEL(f, kW / 2, kH - 3, c);
    EXPECT_PIXEL(f, 1, kH - 3, plus(c, -112));
    EXPECT_PIXEL(f, kW - 4, kH - 1, plus(c, -21));  // diagonal
    EXPECT_PIXEL(f, kW - 2, kH - 3, plus(c, -21));
    EXPECT_PIXEL(f, 12, kH - 5, plus(c, -32));  // bottom left row end
    EXPECT_PIXEL(f, 5, kH - 5, plus(c, -53));   // ...and start
    EXPECT_PIXEL(f, kW - 15, kH - 4, plus(c, -32));
}

}  // namespace

TEST(Style9, BaseColourByStateAndColourSource) {
    expectBands(style9(StateNormal), plus(kFace, -15));
    expectBands(style9(StateHot), plus(kFace, 1));
    expectBands(style9(StatePressed), plus(kFace, 24));
    expectBands(style9(StateDisabled), plus(kFace, 15));
    expectBands(style9(StateNormal, true), plus(rf(0x5070A0), -15));
    expectBands(style9(StateHot, true), plus(rf(0xC08040), 1));
    expectBands(style9(StatePressed, true), plus(rf(0xC08040), 24));
    expectBands(style9(StateDisabled, true), plus(rf(0x5070A0), 15));
}

TEST(Style9, HalfHeightRowsRoundHalvesToEven) {
    const Face f = style9(StateNormal);
    const OleColor c = plus(kFace, -15);
    // Outermost right column: add(c, 128) -> add(c, -48) over rows 0..14, then
    // add(c, -64) -> add(c, -8) over rows 14..24 (H / 2 = 14, H / 2 - 4 = 10 steps).
    EXPECT_PIXEL(f, kW - 1, 0, plus(c, 128));
    EXPECT_PIXEL(f, kW - 1, 13, ramp(plus(c, 128), plus(c, -48), 13, 14));
    EXPECT_PIXEL(f, kW - 1, 14, plus(c, -64));
    EXPECT_PIXEL(f, kW - 1, 24, plus(c, -8));
    // Upper left shading column 2 from row 4 over H / 2 - 7 = 6.5 -> 6 steps.
    EXPECT_PIXEL(f, 2, 4, c);
    EXPECT_PIXEL(f, 2, 10, plus(c, -37));
    // Lower left shading column 3: from row H / 2 - 3 = 10.5 -> 10 over 10 steps.
    EXPECT_PIXEL(f, 3, 10, plus(c, -53));
    EXPECT_PIXEL(f, 3, 19, ramp(plus(c, -53), plus(c, -32), 9, 10));
    EXPECT_PIXEL(f, 3, 20, plus(c, -37));  // the bottom left row H - 7 comes later
}
