// Window regions: which pixels the cut and rounded corners leave out.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "widgets/paint/BeveloPainter.h"

using bevelo::windowRegion;

namespace {
using Pixel = std::pair<int, int>;

// Every pixel of the w x h client is in the region except `missing`.
void expectAllBut(const QRegion& region, int w, int h, const std::set<Pixel>& missing) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool expected = missing.count({x, y}) == 0;
            EXPECT_EQ(region.contains(QPoint(x, y)), expected) << "pixel " << x << "," << y;
        }
    EXPECT_FALSE(region.contains(QPoint(w, h / 2)));
    EXPECT_FALSE(region.contains(QPoint(w / 2, h)));
    EXPECT_FALSE(region.contains(QPoint(-1, h / 2)));
}
}  // namespace

TEST(PaintRegion, PlainStylesCoverTheWholeClient) {
    for (int style : {0, 1, 2, 3, 4, 6, 11, -1}) {
        SCOPED_TRACE(style);
        EXPECT_EQ(windowRegion(style, 130, 28), QRegion(0, 0, 130, 28));
    }
}

TEST(PaintRegion, StylesFiveAndSevenCutOnePixelPerCorner) {
    const int w = 130, h = 28;
    const std::set<Pixel> corners = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
    for (int style : {5, 7}) {
        SCOPED_TRACE(style);
        expectAllBut(windowRegion(style, w, h), w, h, corners);
    }
}

TEST(PaintRegion, StylesEightAndNineCutTwoThreeThreeAndFour) {
    const int w = 41, h = 20;
    // Diagonals x + y = 2 (top left), x - y = w - 3 (top right), x + y = w + h - 3
    // (bottom right) and y - x = h - 4 (bottom left); pixels beyond them are out,
    // pixels on a left-hand diagonal are in, on a right-hand one out.
    const std::set<Pixel> missing = {
        {0, 0},         {1, 0},         {0, 1},                                  // 3
        {w - 3, 0},     {w - 2, 0},     {w - 1, 0},     {w - 2, 1}, {w - 1, 1},  //
        {w - 1, 2},                                                              // 6
        {w - 1, h - 2}, {w - 2, h - 1}, {w - 1, h - 1},                          // 3
        {0, h - 3},     {0, h - 2},     {1, h - 2},     {0, h - 1}, {1, h - 1},  //
        {2, h - 1},                                                              // 6
    };
    for (int style : {8, 9}) {
        SCOPED_TRACE(style);
        expectAllBut(windowRegion(style, w, h), w, h, missing);
    }
}

TEST(PaintRegion, StyleTenRoundsEachCornerWithRadiusNine) {
    const int w = 60, h = 30;
    const QRegion region = windowRegion(10, w, h);
    // A corner pixel is in when its centre lies within 9 of the corner circle's centre.
    auto inCircle = [](int x, int y) {
        const double dx = 9.0 - (x + 0.5), dy = 9.0 - (y + 0.5);
        return dx * dx + dy * dy <= 81.0;
    };
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const bool in = inCircle(x, y);
            EXPECT_EQ(region.contains(QPoint(x, y)), in);
            EXPECT_EQ(region.contains(QPoint(w - 1 - x, y)), in);
            EXPECT_EQ(region.contains(QPoint(x, h - 1 - y)), in);
            EXPECT_EQ(region.contains(QPoint(w - 1 - x, h - 1 - y)), in);
        }
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(2, 2)));
    EXPECT_TRUE(region.contains(QPoint(3, 3)));
    EXPECT_TRUE(region.contains(QPoint(9, 0)));
    EXPECT_TRUE(region.contains(QPoint(0, 9)));
    EXPECT_TRUE(region.contains(QPoint(0, h / 2)));
    EXPECT_TRUE(region.contains(QPoint(w - 1, h / 2)));
    EXPECT_FALSE(region.contains(QPoint(w, h / 2)));
}

TEST(PaintRegion, CaptionFormatFollowsCaptionAlign) {
    EXPECT_EQ(bevelo::captionFormatFor(0, 99), 37);
    EXPECT_EQ(bevelo::captionFormatFor(1, 99), 36);
    EXPECT_EQ(bevelo::captionFormatFor(2, 99), 38);
    EXPECT_EQ(bevelo::captionFormatFor(3, 99), 33);
    EXPECT_EQ(bevelo::captionFormatFor(4, 99), 41);
    EXPECT_EQ(bevelo::captionFormatFor(5, 36), 36);
    EXPECT_EQ(bevelo::captionFormatFor(-1, 41), 41);
}
