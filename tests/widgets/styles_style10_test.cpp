// Style 10: the fixed rounded-button image and its three variants.
#include <QImage>

#include "tests/widgets/styles_face_fixture.h"
#include "widgets/paint/RoundImage.h"

using namespace styles_test;
using bevelo::drawn::RoundVariant;
using bevelo::drawn::roundVariantFor;

namespace {

constexpr int kW = 90, kH = 30;

Face style10(int state, bool focus, OleColor back = 0) {
    Face f(kW, kH);
    f.props.UseCustomColors = back != 0;
    f.props.BackColor = back;
    f.props.HighlightColor = back;
    f.rt.state = state;
    f.rt.hasFocus = focus;
    f.draw(bevelo::drawStyle10);
    return f;
}

}  // namespace

TEST(Style10, VariantChoiceByStateAndFocus) {
    EXPECT_EQ(roundVariantFor(StateNormal, false), RoundVariant::A);
    EXPECT_EQ(roundVariantFor(StateDisabled, false), RoundVariant::A);
    EXPECT_EQ(roundVariantFor(StateHot, false), RoundVariant::B);
    EXPECT_EQ(roundVariantFor(StateHot, true), RoundVariant::B);
    EXPECT_EQ(roundVariantFor(StateNormal, true), RoundVariant::B);
    EXPECT_EQ(roundVariantFor(StateDisabled, true), RoundVariant::B);
    EXPECT_EQ(roundVariantFor(StatePressed, false), RoundVariant::C);
    EXPECT_EQ(roundVariantFor(StatePressed, true), RoundVariant::C);
    EXPECT_EQ(roundVariantFor(0, false), RoundVariant::C);

    // The drawn images follow the choice.
    const QImage a = style10(StateNormal, false).image();
    const QImage b = style10(StateHot, false).image();
    const QImage c = style10(StatePressed, false).image();
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    EXPECT_NE(a, c);
    EXPECT_EQ(style10(StateDisabled, false).image(), a);
    EXPECT_EQ(style10(StateNormal, true).image(), b);
    EXPECT_EQ(style10(StateDisabled, true).image(), b);
    EXPECT_EQ(style10(StatePressed, true).image(), c);
    // No colour property changes the image.
    EXPECT_EQ(style10(StateNormal, false, rf(0x2040F0)).image(), a);
    EXPECT_EQ(style10(StateHot, false, rf(0x2040F0)).image(), b);
}

// Variant A's colours as its drawing rule names them (fill, first
// corner rows and the stretching lines); the corner tables it leaves open are
// checked only for coverage and shape below.
TEST(Style10, VariantAGivenPixelsAndStretchingLines) {
    const Face f = style10(StateNormal, false);
    EXPECT_PIXEL(f, kW / 2, kH / 2, rf(0xE8E7EA));
    EXPECT_PIXEL(f, 18, 12, rf(0xE8E7EA));
    EXPECT_PIXEL(f, 18, 11, rf(0xE9EBE8));  // the top rows' last line crosses the fill
    EXPECT_PIXEL(f, kW - 18, kH - 12, rf(0xE8E7EA));

    const unsigned firstRow[] = {0xFEFEFE, 0xE6E6E6, 0xACACAC, 0x7A7A7A,
                                 0x6C6C6C, 0x6B6B6B, 0x6F6F6F, 0x6F6F71};
    for (int i = 0; i < 8; ++i) EXPECT_PIXEL(f, 6 + i, 0, rf(firstRow[i]));
    for (int x = 12; x <= 17; ++x) EXPECT_PIXEL(f, x, 1, rf(0xF6F4F5));

    const unsigned left[] = {0xF7F7F7, 0xA0A0A0, 0x999999, 0xC3C3C3, 0xC9C9C9, 0xD5D5D5,
                             0xD7D7D7, 0xDFDFDF, 0xE0E0E0, 0xE0E0E0, 0xE4E4E4, 0xE6E8E6,
                             0xE7E7E8, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA};
    for (int x = 0; x < 18; ++x) {
        EXPECT_PIXEL(f, x, 12, rf(left[x]));
        EXPECT_PIXEL(f, x, kH - 11, rf(left[x]));
    }
    // Right columns W - 17 .. W - 1.
    const unsigned right[] = {0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE7E7E7, 0xE6E6E6,
                              0xE4E4E4, 0xE0E0E0, 0xE0E0E0, 0xDEDEDE, 0xD9D9D9, 0xD3D3D3,
                              0xCCCCCC, 0xC3C3C3, 0xA3A3A3, 0x9C9C9C, 0xF6F6F6};
    for (int i = 0; i < 17; ++i) {
        EXPECT_PIXEL(f, kW - 17 + i, 11, rf(right[i]));
        EXPECT_PIXEL(f, kW - 17 + i, kH / 2, rf(right[i]));
    }
    const unsigned top[] = {0x6A6967, 0xF6F4F5, 0xF4F2F3, 0xEEEEEE, 0xEBEBEB, 0xEAE8EB,
                            0xEAE8EB, 0xEAEAEA, 0xE1E1E1, 0xE3E2E5, 0xE8E7EA, 0xE9EBE8};
    for (int y = 0; y < 12; ++y) {
        EXPECT_PIXEL(f, 17, y, rf(top[y]));
        EXPECT_PIXEL(f, kW - 18, y, rf(top[y]));
    }
}

TEST(Style10, EveryVariantCoversTheWholeRoundedFace) {
    // Each variant paints every pixel inside its rounded region; nothing is left
    // in the fixture's magenta.
    for (auto [state, focus] :
         {std::pair{StateNormal, false}, {StateHot, false}, {StatePressed, false}}) {
        const Face f = style10(state, focus);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                ASSERT_NE(f.at(x, y), rf(0xFF00FF)) << "state " << state << " at " << x << "," << y;
        // The rim is darker than the centre on all four sides; the centre is uniform.
        auto grey = [&](int x, int y) { return qGray(bevelo::toQRgb(f.at(x, y))); };
        const int centre = grey(kW / 2, kH / 2);
        EXPECT_EQ(f.at(kW / 2, kH / 2), f.at(kW / 2 + 10, kH / 2 + 3));
        EXPECT_LT(grey(kW / 2, 0), centre - 30);
        EXPECT_LT(grey(1, kH / 2), centre - 30);
        EXPECT_LT(grey(kW - 2, kH / 2), centre - 30);
        EXPECT_LT(grey(kW / 2, kH - 2), centre - 30);
        // The arc: the corner's outermost pixel is lighter than the rim next to it.
        EXPECT_GT(grey(0, 0), grey(4, 2));
    }
}
