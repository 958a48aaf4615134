// The repaint sequence: clearing, settling the state, icon and caption.
#include <gtest/gtest.h>

#include <QFont>

#include "paint_support.h"
#include "widgets/paint/Caption.h"
#include "widgets/paint/IconPainter.h"
#include "widgets/paint/StyleDispatch.h"

using namespace bevelo;
using namespace painttest;

namespace {
constexpr OleColor kBlue = rgb(0, 0, 255);
constexpr OleColor kRed = rgb(255, 0, 0);

QImage solidIcon(int size, OleColor colour) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(toQRgb(colour));
    return icon;
}

bool onlyColour(const QImage& image, OleColor c) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (px(image, x, y) != c) return false;
    return true;
}

// Bounding columns of the pixels in colour c, or (-1, -1).
std::pair<int, int> columnsOf(const QImage& image, OleColor c) {
    int lo = -1, hi = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (px(image, x, y) == c) {
                if (lo < 0 || x < lo) lo = x;
                hi = std::max(hi, x);
            }
    return {lo, hi};
}

// Bounding columns of the ink of black text on white (anti-aliased edges included).
std::pair<int, int> inkColumns(const QImage& image) {
    int lo = -1, hi = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (greenOf(px(image, x, y)) < 0x80) {
                if (lo < 0 || x < lo) lo = x;
                hi = std::max(hi, x);
            }
    return {lo, hi};
}
}  // namespace

TEST(PaintRefresh, HiddenControlIsOnlyCleared) {
    BeveloProperties props = plainProps(0);
    props.Caption = "Hidden";
    props.Icon = solidIcon(16, kBlue);
    props.Enabled = false;
    BeveloRuntime rt = shownRuntime(StateHot);
    rt.shown = false;
    const QImage image = repaint(props, rt);
    EXPECT_TRUE(onlyColour(image, kFace));
    EXPECT_EQ(rt.state, StateHot);  // nothing settled
}

TEST(PaintRefresh, DesignTimeDrawsEveryStyleButFiveHot) {
    BeveloProperties props = plainProps(3);
    BeveloRuntime rt = shownRuntime();
    rt.userMode = false;
    const QImage image = repaint(props, rt);
    EXPECT_EQ(rt.state, StateHot);
    EXPECT_EQ(px(image, 10, 10), average(kDark, kFace));

    BeveloProperties rounded = plainProps(5);
    BeveloRuntime rt5 = shownRuntime();
    rt5.userMode = false;
    repaint(rounded, rt5);
    EXPECT_EQ(rt5.state, StateNormal);
}

TEST(PaintRefresh, PressedToggleAndDisabledControlSettleTheState) {
    BeveloProperties props = plainProps(3);
    props.ButtonType = 1;
    props.Value = true;
    BeveloRuntime rt = shownRuntime();
    QImage image = repaint(props, rt);
    EXPECT_EQ(rt.state, StatePressed);
    EXPECT_EQ(px(image, 10, 10), kDark);  // style 3 pressed panel

    props.Enabled = false;  // a disabled toggle stays disabled, pressed or not
    image = repaint(props, rt);
    EXPECT_EQ(rt.state, StateDisabled);
    EXPECT_EQ(px(image, 10, 10), kFace);

    props.Value = false;  // a plain push button that is not enabled
    props.ButtonType = 0;
    rt.state = StateHot;
    repaint(props, rt);
    EXPECT_EQ(rt.state, StateDisabled);
}

TEST(PaintRefresh, UnknownStyleShowsThePreviousBackground) {
    BeveloProperties props = plainProps(0);
    props.UseCustomColors = true;
    props.BackColor = rgb(10, 200, 30);
    BeveloRuntime rt = shownRuntime();
    QImage image(40, 24, QImage::Format_RGB32);
    refresh(image, props, rt, testPalette());
    props.Style = 11;
    refresh(image, props, rt, testPalette());
    EXPECT_TRUE(onlyColour(image, rgb(10, 200, 30)));

    props.Enabled = false;  // disabled: the background becomes the face colour
    refresh(image, props, rt, testPalette());
    EXPECT_TRUE(onlyColour(image, kFace));
}

TEST(PaintRefresh, IconPositionsFollowIconAlign) {
    EXPECT_EQ(iconPosition(2, 100, 40, 32, 4), QPoint(64, 4));
    EXPECT_EQ(iconPosition(1, 100, 40, 32, 5), QPoint(5, 4));
    EXPECT_EQ(iconPosition(0, 101, 41, 16, 4), QPoint(42, 12));  // 42.5 and 12.5 go even
    EXPECT_EQ(iconPosition(0, 103, 43, 16, 4), QPoint(44, 14));  // 43.5, 13.5
    EXPECT_EQ(iconPosition(3, 100, 40, 16, 7), QPoint(42, 7));
    EXPECT_EQ(iconPosition(4, 100, 40, 16, 7), QPoint(42, 17));
    EXPECT_EQ(iconPosition(5, 100, 40, 16, 4), QPoint(0, 0));
    EXPECT_EQ(iconMarginFor(5), 5);
    EXPECT_EQ(iconMarginFor(7), 5);
    EXPECT_EQ(iconMarginFor(9), 7);
    EXPECT_EQ(iconMarginFor(10), 7);
    EXPECT_EQ(iconMarginFor(8), 4);
    EXPECT_EQ(iconMarginFor(0), 4);
}

TEST(PaintRefresh, RightAlignedIconMovesOnePixelWhenPressed) {
    BeveloProperties props = plainProps(1);
    props.Icon = solidIcon(8, kBlue);  // stretched to IconSize
    props.IconSize = 32;
    props.IconAlign = 2;
    BeveloRuntime rt = shownRuntime();
    QImage image = repaint(props, rt, 100, 40);
    EXPECT_EQ(columnsOf(image, kBlue), std::make_pair(64, 95));
    EXPECT_EQ(px(image, 64, 4), kBlue);
    EXPECT_NE(px(image, 64, 3), kBlue);

    rt.state = StatePressed;
    image = repaint(props, rt, 100, 40);
    EXPECT_EQ(columnsOf(image, kBlue), std::make_pair(65, 96));
    EXPECT_EQ(px(image, 65, 5), kBlue);
    EXPECT_NE(px(image, 65, 4), kBlue);
}

TEST(PaintRefresh, MaskColourLeavesTheFaceVisible) {
    QImage icon = solidIcon(16, kRed);
    for (int y = 0; y < 16; ++y) icon.setPixel(3, y, toQRgb(0xC0C0C0));
    BeveloProperties props = plainProps(4);
    props.Icon = icon;
    props.UseMaskColor = true;
    props.MaskColor = 0xC0C0C0;
    props.IconAlign = 1;
    BeveloRuntime rt = shownRuntime();
    QImage image = repaint(props, rt, 60, 24);  // icon at (4, 4)
    const OleColor face = lighten(kFace, 32);
    EXPECT_EQ(px(image, 4, 4), kRed);
    EXPECT_EQ(px(image, 7, 10), face);
    EXPECT_EQ(px(image, 19, 19), kRed);

    props.Enabled = false;  // masked and disabled: three-way grey of each pixel
    image = repaint(props, rt, 60, 24);
    EXPECT_EQ(px(image, 4, 4), threeWayGrey(kRed));
    EXPECT_EQ(px(image, 7, 10), face);
}

TEST(PaintRefresh, DisabledIconIsGrey) {
    BeveloProperties props = plainProps(4);
    props.Icon = solidIcon(16, kRed);
    props.IconAlign = 0;
    props.Enabled = false;
    BeveloRuntime rt = shownRuntime();
    const QImage image = repaint(props, rt, 40, 24);  // icon at (12, 4)
    EXPECT_EQ(px(image, 12, 4), rgb(84, 84, 84));
    EXPECT_EQ(px(image, 27, 19), rgb(84, 84, 84));
    EXPECT_EQ(px(image, 11, 4), lighten(kFace, 32));
}

TEST(PaintRefresh, StyleFourRaisesTheHotIconOverAGreyShadow) {
    for (bool masked : {false, true}) {
        SCOPED_TRACE(masked);
        BeveloProperties props = plainProps(4);
        props.Icon = solidIcon(16, kBlue);
        props.UseMaskColor = masked;
        props.MaskColor = 0xC0C0C0;
        props.IconAlign = 1;
        BeveloRuntime rt = shownRuntime(StateHot);
        const QImage image = repaint(props, rt, 60, 24);  // shadow at (4, 4), icon at (2, 2)
        const OleColor panel = lighten(kHighlight, 176);
        EXPECT_EQ(px(image, 2, 2), kBlue);
        EXPECT_EQ(px(image, 17, 17), kBlue);
        EXPECT_EQ(px(image, 18, 18), 0x808080u);
        EXPECT_EQ(px(image, 19, 19), 0x808080u);
        EXPECT_EQ(px(image, 19, 4), 0x808080u);
        EXPECT_EQ(px(image, 20, 20), panel);  // the column past the icon matched the face
        EXPECT_EQ(px(image, 18, 2), panel);
    }
}

TEST(PaintRefresh, CaptionColourFollowsStateAndCustomColours) {
    QImage image(4, 4, QImage::Format_RGB32);
    const QPalette palette = testPalette();
    Surface s(image, palette);
    BeveloProperties props;
    props.FontColor = rgb(1, 2, 3);
    props.FontHighlightColor = 0x80000005;  // a system reference: the window colour
    EXPECT_EQ(captionColor(s, props, StateNormal), kButtonText);
    EXPECT_EQ(captionColor(s, props, StateHot), kButtonText);
    EXPECT_EQ(captionColor(s, props, StateDisabled), kGrayText);
    props.UseCustomColors = true;
    EXPECT_EQ(captionColor(s, props, StateNormal), rgb(1, 2, 3));
    EXPECT_EQ(captionColor(s, props, StateHot), kWindow);
    EXPECT_EQ(captionColor(s, props, StatePressed), kWindow);
    EXPECT_EQ(captionColor(s, props, StateDisabled), kGrayText);
}

TEST(PaintRefresh, CaptionStaysInsideTheInsetRectangleAndAligns) {
    BeveloProperties props = plainProps(4);
    props.Caption = "WWWWWWWWWWWWWWWW";
    QFont font;
    font.setPixelSize(40);  // far taller than the face
    props.Font = font;
    props.UseCustomColors = true;
    props.BackColor = 0xFFFFFF;
    props.FontColor = 0x000000;
    BeveloRuntime rt = shownRuntime();
    rt.captionFormat = captionFormatFor(0, 37);
    QImage image = repaint(props, rt, 80, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const bool inset = x >= 4 && x < 76 && y >= 4 && y < 26;
            if (!inset) {
                EXPECT_EQ(px(image, x, y), 0xFFFFFFu) << x << "," << y;
            }
        }
    EXPECT_NE(inkColumns(image).first, -1);

    props.Caption = "I";
    font.setPixelSize(12);
    props.Font = font;
    rt.captionFormat = captionFormatFor(1, 37);
    image = repaint(props, rt, 200, 30);
    auto [lo, hi] = inkColumns(image);
    EXPECT_GE(lo, 4);
    EXPECT_LT(hi, 30);

    rt.captionFormat = captionFormatFor(2, 37);
    image = repaint(props, rt, 200, 30);
    std::tie(lo, hi) = inkColumns(image);
    EXPECT_GT(lo, 170);
    EXPECT_LT(hi, 196);

    props.Caption = "&&";  // '&' marks a mnemonic; a doubled one draws itself
    rt.captionFormat = 37;
    image = repaint(props, rt, 200, 30);
    EXPECT_NE(inkColumns(image).first, -1);
}

TEST(PaintRefresh, IconLargerThanTheFaceIsClippedToIt) {
    for (int size : {40, 30000}) {
        SCOPED_TRACE(size);
        QImage icon = solidIcon(4, kRed);
        icon.setPixel(0, 0, toQRgb(0xC0C0C0));  // the top-left quarter-plus is masked
        BeveloProperties props = plainProps(4);
        props.Icon = icon;
        props.IconSize = size;
        props.UseMaskColor = true;
        props.MaskColor = 0xC0C0C0;
        for (int state : {StateNormal, StateHot}) {
            BeveloRuntime rt = shownRuntime(state);
            const QImage image = repaint(props, rt, 30, 24);
            // The icon's centre lies on the face centre: the lower right is red.
            EXPECT_EQ(px(image, 29, 23), kRed);
            EXPECT_EQ(px(image, 16, 13), kRed);
        }
    }
}

TEST(PaintRefresh, HighDensitySurfaceIsDrawnInDevicePixels) {
    BeveloProperties props = plainProps(3);
    props.Caption = "WW";
    QFont font;
    font.setPixelSize(30);  // 60 device pixels: taller than the caption rectangle
    props.Font = font;
    props.Icon = solidIcon(4, kBlue);
    props.IconAlign = 2;
    BeveloRuntime rt = shownRuntime(StateHot);
    rt.captionFormat = 36;  // left
    QImage image(260, 56, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    refresh(image, props, rt, testPalette());
    EXPECT_EQ(image.devicePixelRatio(), 2.0);
    EXPECT_EQ(px(image, 0, 0), kDark);
    EXPECT_EQ(px(image, 258, 0), kDark);
    EXPECT_EQ(px(image, 259, 0), average(kDark, kFace));  // hot panel colour
    EXPECT_EQ(px(image, 259, 55), kWindow);
    EXPECT_EQ(px(image, 240, 20), kBlue);  // icon at x = 260 - 16 - 4
    EXPECT_EQ(px(image, 255, 20), kBlue);
    EXPECT_NE(px(image, 256, 20), kBlue);
    int inkRows = 0;
    for (int y = 0; y < 56; ++y) {
        bool ink = false;
        for (int x = 0; x < 200; ++x) ink |= greenOf(px(image, x, y)) < 0x60;
        inkRows += ink;
        if (y < 4 || y >= 52) {
            EXPECT_FALSE(ink) << y;  // clipped to the caption rectangle
        }
    }
    EXPECT_GT(inkRows, 32);  // 30-pixel text drawn twice as tall
}
