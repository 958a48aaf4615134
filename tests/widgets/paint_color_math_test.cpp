// Colour arithmetic of the faces: channel order, rounding and limits.
#include <gtest/gtest.h>

#include "widgets/paint/ColorMath.h"

using namespace bevelo;

TEST(PaintColorMath, ChannelsSitRedLowBlueHigh) {
    EXPECT_EQ(rgb(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(redOf(0x563412), 0x12);
    EXPECT_EQ(blueOf(0x563412), 0x56);
    EXPECT_EQ(toQRgb(0x563412), 0xFF123456u);
    EXPECT_EQ(fromQRgb(0x80123456u), 0x563412u);
}

TEST(PaintColorMath, RoundingTakesTheEvenNeighbourOfAHalf) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(84.15), 84);
    EXPECT_EQ(roundHalfEven(148.32), 148);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.5f), 2);
    EXPECT_EQ(roundHalfEven(0.5000001), 1);
}

TEST(PaintColorMath, AverageRoundsHalvesToEvenPerChannel) {
    // red 1+2 -> 1.5 -> 2, green 3+4 -> 3.5 -> 4, blue 4+5 -> 4.5 -> 4
    EXPECT_EQ(average(rgb(1, 3, 4), rgb(2, 4, 5)), rgb(2, 4, 4));
    EXPECT_EQ(average(rgb(0, 255, 10), rgb(255, 0, 20)), rgb(128, 128, 15));  // 127.5 -> 128
    EXPECT_EQ(average(rgb(0, 0, 0), rgb(5, 5, 5)), rgb(2, 2, 2));             // 2.5 -> 2
}

TEST(PaintColorMath, LightenKeepsAtZeroWhitensAt255AndTruncates) {
    const OleColor c = rgb(0x12, 0x80, 0xF0);
    EXPECT_EQ(lighten(c, 0), c);
    EXPECT_EQ(lighten(c, 255), 0xFFFFFFu);
    // 32 + 223 * 240 \ 255 = 32 + 209 ; 32 + 223 * 18 \ 255 = 32 + 15 ; 32 + 223*128\255 = 32+111
    EXPECT_EQ(lighten(c, 32), rgb(47, 143, 241));
    // 176 + 79 * 0x66 \ 255 = 176 + 31
    EXPECT_EQ(lighten(rgb(0x66, 0, 0xFF), 176), rgb(207, 176, 255));
}

TEST(PaintColorMath, SteppedBrightenMovesByBand) {
    struct Case {
        int in, out;
    } cases[] = {{0, 76},    {31, 107},  {32, 89},   {95, 152},  {96, 134},
                 {159, 197}, {160, 179}, {223, 242}, {224, 224}, {255, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(brightenStepped(rgb(c.in, c.in, c.in)), rgb(c.out, c.out, c.out));
    }
    EXPECT_EQ(brightenStepped(rgb(0, 100, 250)), rgb(76, 138, 250));
}

TEST(PaintColorMath, AddOffsetStaysInsideTheChannelRange) {
    EXPECT_EQ(addOffset(0xFFFFFF, 8), 0xFFFFFFu);
    EXPECT_EQ(addOffset(0x000000, -5), 0x000000u);
    EXPECT_EQ(addOffset(rgb(250, 10, 128), 8), rgb(255, 18, 136));
    EXPECT_EQ(addOffset(rgb(250, 10, 128), -128), rgb(122, 0, 0));
    EXPECT_EQ(addOffset(rgb(1, 2, 3), 0), rgb(1, 2, 3));
}

TEST(PaintColorMath, ThreeWayGreyAveragesTheChannels) {
    EXPECT_EQ(threeWayGrey(rgb(255, 0, 0)), rgb(85, 85, 85));
    EXPECT_EQ(threeWayGrey(rgb(1, 1, 2)), rgb(1, 1, 1));  // 1.33
    EXPECT_EQ(threeWayGrey(rgb(1, 2, 2)), rgb(2, 2, 2));  // 1.67
    EXPECT_EQ(threeWayGrey(rgb(255, 255, 254)), rgb(255, 255, 255));
}
