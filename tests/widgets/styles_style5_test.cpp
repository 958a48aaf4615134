// Style 5: the fixed-colour rounded button and its custom-colour routine.
#include "tests/widgets/styles_face_fixture.h"

using namespace styles_test;

namespace {

constexpr int kW = 60, kH = 25;

Face fixed(int state, bool focus = false, bool asDefault = false) {
    Face f(kW, kH);
    f.rt.state = state;
    f.rt.hasFocus = focus;
    f.rt.displayAsDefault = asDefault;
    f.draw(bevelo::drawStyle5);
    return f;
}

void expectFixedBorder(const Face& f) {
    const int W = f.W(), H = f.H();
    for (auto [x, y] : {std::pair{5, 0}, {0, 5}, {0, H - 4}, {W - 1, 5}, {5, H - 1}})
        EXPECT_PIXEL(f, x, y, rf(0x003C74));
    EXPECT_PIXEL(f, 1, 1, rf(0x486E90));
    EXPECT_PIXEL(f, W - 2, H - 2, rf(0x486E90));
    EXPECT_PIXEL(f, 0, 1, rf(0x6A8BA2));
    EXPECT_PIXEL(f, W - 2, 0, rf(0x6A8BA2));
    EXPECT_PIXEL(f, W - 1, H - 2, rf(0x6A8BA2));
}

}  // namespace

TEST(Style5Fixed, NormalFaceGradientsBorderAndCorners) {
    const Face f = fixed(StateNormal);
    expectFixedBorder(f);
    EXPECT_EQ(f.background(), kFace);
    EXPECT_PIXEL(f, 1, 2, rf(0xBFC7CA));  // no focus band
    EXPECT_PIXEL(f, kW - 3, kH - 2, rf(0xBFC7CA));
    EXPECT_PIXEL(f, 5, 1, rf(0xFCFCFB));  // top gradient start
    EXPECT_PIXEL(f, 5, 4, rf(0xFAFAF9));  // middle gradient starts where the top one ends
    EXPECT_PIXEL(f, 5, kH - 4, rf(0xEBEBE6));
    // Bottom gradient EBEBE6 -> D6D0C5 in 3 steps: row H - 2 is step 2.
    EXPECT_PIXEL(f, 5, kH - 2, rf(0xDDD9D0));
    EXPECT_PIXEL(f, kW - 3, 3, rf(0xFBFBFA));
    EXPECT_PIXEL(f, kW - 2, 3, rf(0xF5F4F2));
}

TEST(Style5Fixed, HotBandsAreOrange) {
    const Face f = fixed(StateHot);
    expectFixedBorder(f);
    EXPECT_PIXEL(f, 5, 1, rf(0xFFF0CF));
    EXPECT_PIXEL(f, 5, 2, rf(0xFDD889));
    EXPECT_PIXEL(f, 5, kH - 3, rf(0xF8B330));
    EXPECT_PIXEL(f, 5, kH - 2, rf(0xE59710));
    EXPECT_PIXEL(f, 1, 2, rf(0xFDD889));  // side columns start
    EXPECT_PIXEL(f, kW - 2, kH - 3, rf(0xF8B330));
}

TEST(Style5Fixed, FocusOrDefaultGivesBlueBandsOnlyInTheNormalState) {
    for (auto [focus, asDefault] : {std::pair{true, false}, {false, true}}) {
        const Face f = fixed(StateNormal, focus, asDefault);
        EXPECT_PIXEL(f, 5, kH - 2, rf(0x6982EE));
        EXPECT_PIXEL(f, 5, 1, rf(0xCEE7FF));
        EXPECT_PIXEL(f, 5, 2, rf(0xBCD4F6));
        EXPECT_PIXEL(f, 5, kH - 3, rf(0x89ADE4));
        EXPECT_PIXEL(f, 1, 2, rf(0xBCD4F6));
        EXPECT_PIXEL(f, 2, kH - 3, rf(0x89ADE4));
    }
    // Pressed with the focus: no band.
    const Face pressed = fixed(StatePressed, true, true);
    EXPECT_PIXEL(pressed, 5, 1, rf(0xD1CCC1));
}

TEST(Style5Fixed, PressedAndDisabled) {
    const Face p = fixed(StatePressed);
    expectFixedBorder(p);
    EXPECT_PIXEL(p, 5, 1, rf(0xD1CCC1));
    EXPECT_PIXEL(p, 1, 3, rf(0xDAD8CE));
    EXPECT_PIXEL(p, 5, 4, rf(0xE4E3DC));

    const Face d = fixed(StateDisabled);
    EXPECT_EQ(d.background(), rf(0xF5F5EA));
    EXPECT_PIXEL(d, kW / 2, kH / 2, rf(0xF5F5EA));
    for (auto [x, y] : {std::pair{5, 0}, {0, 5}, {kW - 1, 5}, {5, kH - 1}})
        EXPECT_PIXEL(d, x, y, rf(0xC9C8BA));
    for (auto [x, y] : {std::pair{1, 1}, {0, 1}, {kW - 2, kH - 1}, {kW - 1, kH - 2}})
        EXPECT_PIXEL(d, x, y, rf(0xD8D5C7));

    // Any other state: the face colour alone.
    const Face other = fixed(0);
    EXPECT_PIXEL(other, 0, 5, kFace);
    EXPECT_PIXEL(other, kW / 2, 1, kFace);
}

namespace {

constexpr OleColor kBack = rf(0x6080A0);
constexpr OleColor kHot = rf(0x20C040);

Face custom(int state, bool focus = false, bool showFocus = false) {
    Face f(kW, kH);
    f.props.UseCustomColors = true;
    f.props.BackColor = kBack;
    f.props.HighlightColor = kHot;
    f.props.ShowFocus = showFocus;
    f.rt.state = state;
    f.rt.hasFocus = focus;
    f.draw(bevelo::drawStyle5);
    return f;
}

void expectBand(const Face& f, OleColor h) {
    EXPECT_PIXEL(f, 5, 1, plus(h, 85));
    EXPECT_PIXEL(f, 5, 2, plus(h, 69));
    EXPECT_PIXEL(f, 5, kH - 3, plus(h, 16));
    EXPECT_PIXEL(f, 5, kH - 2, h);
    EXPECT_PIXEL(f, 1, 2, plus(h, 69));
    EXPECT_PIXEL(f, kW - 2, kH - 3, plus(h, 16));
}

}  // namespace

TEST(Style5Custom, NormalFaceFromBackColor) {
    const Face f = custom(StateNormal);
    const OleColor B = kBack, k = plus(B, -128);
    EXPECT_EQ(f.background(), B);
    EXPECT_PIXEL(f, 5, 1, plus(B, 5));
    EXPECT_PIXEL(f, 5, 2, plus(B, 2));
    EXPECT_PIXEL(f, 5, kH - 4, plus(B, -16));
    EXPECT_PIXEL(f, 5, kH - 3, plus(B, -24));
    EXPECT_PIXEL(f, 5, kH - 2, plus(B, -37));
    // Body gradient B -> add(B, -15) over H - 3 steps from row 1: row 10 is step 9.
    EXPECT_PIXEL(f, kW / 2, 10, ramp(B, plus(B, -15), 9, kH - 3));
    EXPECT_PIXEL(f, 1, kH - 3, plus(B, -21));       // left column end
    EXPECT_PIXEL(f, kW - 2, kH - 3, plus(B, -32));  // right column end
    for (auto [x, y] :
         {std::pair{5, 0}, {0, 5}, {kW - 1, 5}, {5, kH - 1}, {1, 1}, {kW - 2, kH - 2}})
        EXPECT_PIXEL(f, x, y, k);
    for (auto [x, y] : {std::pair{1, 0}, {0, kH - 2}, {kW - 2, kH - 1}, {kW - 1, 1}})
        EXPECT_PIXEL(f, x, y, plus(B, -21));
}

TEST(Style5Custom, HotBandInHighlightColorFocusBandInSystemHighlight) {
    expectBand(custom(StateHot), kHot);
    expectBand(custom(StateNormal, true, true), kSelection);
    expectBand(custom(5), kSelection);
    // Focus without ShowFocus draws no band.
    const Face plain = custom(StateNormal, true, false);
    EXPECT_PIXEL(plain, 5, 1, plus(kBack, 5));
    EXPECT_PIXEL(plain, 5, kH - 2, plus(kBack, -37));
}

TEST(Style5Custom, PressedKeepsTheBackgroundAndDisabledFrames) {
    Face f(kW, kH);
    f.props.UseCustomColors = true;
    f.props.BackColor = kBack;
    {
        bevelo::Surface s(f.image(), f.palette());
        s.setBackground(rf(0x123456));
    }
    f.rt.state = StatePressed;
    f.draw(bevelo::drawStyle5);
    const OleColor B = kBack;
    EXPECT_EQ(f.background(), rf(0x123456));
    EXPECT_PIXEL(f, 5, 1, plus(B, -37));
    EXPECT_PIXEL(f, 5, 5, ramp(plus(B, -21), plus(B, -5), 1, kH - 8));
    EXPECT_PIXEL(f, 1, 2, plus(B, -48));
    EXPECT_PIXEL(f, kW - 2, kH - 3, plus(B, 18));
    EXPECT_PIXEL(f, kW - 3, kH - 2, plus(B, 8));
    for (auto [x, y] : {std::pair{5, 0}, {0, 5}, {kW - 1, 5}, {5, kH - 1}})
        EXPECT_PIXEL(f, x, y, plus(B, -128));
    EXPECT_PIXEL(f, 1, 1, plus(B, -96));
    EXPECT_PIXEL(f, kW - 2, kH - 2, plus(B, -96));

    const Face d = custom(StateDisabled);
    EXPECT_PIXEL(d, kW / 2, kH / 2, B);
    EXPECT_PIXEL(d, 5, 0, plus(B, -64));
    EXPECT_PIXEL(d, kW - 1, kH - 1, plus(B, -64));
    EXPECT_PIXEL(d, 1, 1, plus(B, -53));
}
