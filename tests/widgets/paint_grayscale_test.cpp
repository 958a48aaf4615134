// The grey rendition of icons, pixel by pixel and drawn on a surface.
#include <gtest/gtest.h>

#include "paint_support.h"
#include "widgets/paint/Grayscale.h"

using namespace bevelo;
using namespace painttest;

namespace {
OleColor greyOf(OleColor c) {
    QImage icon(1, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, toQRgb(c));
    return fromQRgb(grayscaleIcon(icon).pixel(0, 0));
}
}  // namespace

TEST(PaintGrayscale, SixteenGreysKeepTheirColourAndNinetyNinetyDoesNot) {
    for (int v = 0; v <= 0xF0; v += 0x10) {
        SCOPED_TRACE(v);
        // Weighted, a grey v becomes 1.03 v: only the kept ones stay v.
        const int weighted = std::min(roundHalfEven(1.03 * v), 255);
        const int expected = v == 0x90 ? weighted : v;
        EXPECT_EQ(greyOf(rgb(v, v, v)), rgb(expected, expected, expected));
    }
    EXPECT_EQ(greyOf(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(greyOf(0x808080), 0x808080u);
    EXPECT_EQ(greyOf(0x909090), 0x949494u);  // 148.32
    EXPECT_EQ(greyOf(0x818181), 0x858585u);  // 129 * 1.03 = 132.87
}

TEST(PaintGrayscale, OtherColoursTakeWeightedChannels) {
    EXPECT_EQ(greyOf(rgb(255, 0, 0)), rgb(84, 84, 84));            // 84.15
    EXPECT_EQ(greyOf(rgb(0, 255, 0)), rgb(150, 150, 150));         // 150.45
    EXPECT_EQ(greyOf(rgb(0, 0, 255)), rgb(28, 28, 28));            // 28.05
    EXPECT_EQ(greyOf(rgb(250, 250, 250)), rgb(255, 255, 255));     // 257.5 capped
    EXPECT_EQ(greyOf(rgb(0x80, 0x80, 0x70)), rgb(130, 130, 130));  // 128 * 0.92 + 112 * 0.11
}

TEST(PaintGrayscale, IconKeepsItsTransparency) {
    QImage icon(2, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(255, 0, 0, 255));
    icon.setPixel(1, 0, qRgba(0x90, 0x90, 0x90, 0));
    const QImage grey = grayscaleIcon(icon);
    EXPECT_EQ(grey.pixel(0, 0), qRgba(84, 84, 84, 255));
    EXPECT_EQ(qAlpha(grey.pixel(1, 0)), 0);
}

TEST(PaintGrayscale, PaintsStretchedAtThePositionAndReportsIt) {
    QImage icon(2, 2, QImage::Format_RGB32);
    icon.fill(qRgb(255, 0, 0));
    QImage target(12, 12, QImage::Format_RGB32);
    target.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(paintIconGrayscale(target, icon, 3, 4, 5, 4));  // height 5, width 4
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 3 && x < 7 && y >= 4 && y < 9;
            EXPECT_EQ(target.pixel(x, y), inside ? qRgb(84, 84, 84) : qRgb(1, 2, 3))
                << x << "," << y;
        }
}

TEST(PaintGrayscale, MissingTargetOrIconDrawsNothing) {
    QImage icon(2, 2, QImage::Format_RGB32);
    icon.fill(Qt::red);
    QImage none;
    EXPECT_FALSE(paintIconGrayscale(none, icon, 0, 0, 2, 2));
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    EXPECT_FALSE(paintIconGrayscale(target, QImage(), 0, 0, 2, 2));
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255));
}
