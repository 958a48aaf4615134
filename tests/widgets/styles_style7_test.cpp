// Style 7: cut-corner gradient face, highlight bands when hot or focused.
#include "tests/widgets/styles_face_fixture.h"

using namespace styles_test;

namespace {

constexpr int kW = 70, kH = 25;

Face style7(int state, bool focus = false, bool custom = false, OleColor back = 0,
            OleColor hot = 0) {
    Face f(kW, kH);
    f.props.UseCustomColors = custom;
    f.props.BackColor = back;
    f.props.HighlightColor = hot;
    f.rt.state = state;
    f.rt.hasFocus = focus;
    f.draw(bevelo::drawStyle7);
    return f;
}

// Border, corners and the edge lines every state draws from c and b0.
void expectFrame(const Face& f, OleColor b0, OleColor c, int outer) {
    const OleColor k = plus(c, -96);
    for (auto [x, y] :
         {std::pair{5, 0}, {0, 5}, {5, kH - 1}, {kW - 1, 5}, {kW - 1, 0}, {1, 1}, {kW - 2, kH - 2}})
        EXPECT_PIXEL(f, x, y, k);
    for (auto [x, y] :
         {std::pair{1, 0}, {kW - 2, 0}, {0, 1}, {0, kH - 2}, {1, kH - 1}, {kW - 1, 1}})
        EXPECT_PIXEL(f, x, y, plus(b0, outer));
    EXPECT_EQ(f.background(), c);
}

}  // namespace

TEST(Style7, NormalStateFromTheFaceColour) {
    const Face f = style7(StateNormal);
    const OleColor c = plus(kFace, 8);
    expectFrame(f, kFace, c, -21);
    EXPECT_PIXEL(f, kW / 2, 1, plus(kFace, 21));        // top line
    EXPECT_PIXEL(f, kW / 2, kH - 2, plus(kFace, -37));  // bottom line
    // Body add(c, 15) -> add(c, -15) over H - 3 steps from row 1.
    EXPECT_PIXEL(f, kW / 2, 2, ramp(plus(c, 15), plus(c, -15), 1, kH - 3));
    EXPECT_PIXEL(f, kW / 2, 12, ramp(plus(c, 15), plus(c, -15), 11, kH - 3));
    EXPECT_PIXEL(f, 1, 2, plus(c, 21));             // left column start
    EXPECT_PIXEL(f, 1, kH - 3, plus(c, -21));       // left column end
    EXPECT_PIXEL(f, kW - 2, 2, plus(c, -5));        // right column start
    EXPECT_PIXEL(f, kW - 2, kH - 3, plus(c, -32));  // right column end
}

TEST(Style7, WhiteBackColorGivesAWhiteBody) {
    const OleColor white = 0xFFFFFF;
    const Face f = style7(StateNormal, false, true, white);
    EXPECT_EQ(f.background(), white);  // add(FFFFFF, 8) stays white
    EXPECT_PIXEL(f, kW / 2, 1, white);
    EXPECT_PIXEL(f, 1, 2, white);  // add(c, 21) is white too
    EXPECT_PIXEL(f, kW / 2, 2, ramp(white, plus(white, -15), 1, kH - 3));
    EXPECT_PIXEL(f, 5, 0, rf(0x9F9F9F));            // add(white, -96)
    EXPECT_PIXEL(f, 1, 0, rf(0xEAEAEA));            // add(white, -21)
    EXPECT_PIXEL(f, kW / 2, kH - 2, rf(0xDADADA));  // add(white, -37)
}

TEST(Style7, HotDrawsHighlightBandsInEitherColourSource) {
    const Face sys = style7(StateHot);
    const OleColor c = plus(kFace, 24);
    expectFrame(sys, kFace, c, -21);
    EXPECT_PIXEL(sys, kW / 2, 1, plus(kSelection, 21));
    EXPECT_PIXEL(sys, 1, 2, plus(kSelection, 21));
    EXPECT_PIXEL(sys, kW - 2, 2, plus(kSelection, 21));
    EXPECT_PIXEL(sys, 1, kH - 3, plus(kSelection, -5));
    EXPECT_PIXEL(sys, kW / 2, kH - 2, plus(kSelection, -21));
    EXPECT_PIXEL(sys, kW / 2, 5, ramp(plus(c, 16), plus(c, -16), 4, kH - 3));

    const OleColor back = rf(0xFFFFFF), hot = rf(0x30A050);
    const Face cust = style7(StateHot, false, true, back, hot);
    EXPECT_PIXEL(cust, kW / 2, 1, plus(hot, 21));
    EXPECT_PIXEL(cust, kW / 2, kH - 2, plus(hot, -21));
}

TEST(Style7, FocusBandsOnlyInTheNormalState) {
    const Face focused = style7(StateNormal, true);
    EXPECT_PIXEL(focused, kW / 2, 1, plus(kSelection, 21));
    EXPECT_PIXEL(focused, kW / 2, kH - 2, plus(kSelection, -21));

    const Face pressed = style7(StatePressed, true);
    const OleColor c = plus(kFace, -9);
    expectFrame(pressed, kFace, c, -21);
    EXPECT_PIXEL(pressed, kW / 2, 1, plus(kFace, -21));
    EXPECT_PIXEL(pressed, kW / 2, kH - 2, plus(kFace, 8));
    EXPECT_PIXEL(pressed, 1, 2, plus(c, -32));
    EXPECT_PIXEL(pressed, kW - 2, 2, plus(c, -21));
    EXPECT_PIXEL(pressed, kW - 2, kH - 3, plus(c, 21));
    // Body add(c, -15) -> c over H - 2 steps.
    EXPECT_PIXEL(pressed, kW / 2, 6, ramp(plus(c, -15), c, 5, kH - 2));

    const Face disabled = style7(StateDisabled, true);
    expectFrame(disabled, kFace, plus(kFace, 18), 5);
    EXPECT_PIXEL(disabled, kW / 2, 1, plus(kFace, 21));
    EXPECT_PIXEL(disabled, kW / 2, kH - 2, plus(kFace, -37));
}
