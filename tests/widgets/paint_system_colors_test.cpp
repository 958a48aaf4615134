// Translation of colour references to RGB through the palette.
#include <gtest/gtest.h>

#include "paint_support.h"
#include "widgets/paint/SystemColors.h"

using namespace bevelo;
using namespace painttest;

TEST(PaintSystemColors, ReferencesNameThePaletteColours) {
    const QPalette p = testPalette();
    EXPECT_EQ(translateColor(0x8000000F, p), static_cast<std::int32_t>(kFace));
    EXPECT_EQ(translateColor(0x80000010, p), static_cast<std::int32_t>(kDark));
    EXPECT_EQ(translateColor(0x8000000D, p), static_cast<std::int32_t>(kHighlight));
    EXPECT_EQ(translateColor(0x80000005, p), static_cast<std::int32_t>(kWindow));
    EXPECT_EQ(translateColor(0x80000012, p), static_cast<std::int32_t>(kButtonText));
    EXPECT_EQ(translateColor(0x80000011, p), static_cast<std::int32_t>(kGrayText));
    EXPECT_EQ(translateColor(0x80000014, p), static_cast<std::int32_t>(kLight));
    EXPECT_EQ(translateColor(0x80000015, p), static_cast<std::int32_t>(kShadow));
    EXPECT_EQ(translateColor(0x80000016, p), static_cast<std::int32_t>(kMidlight));
}

TEST(PaintSystemColors, PlainColoursPassAndUnknownOnesFail) {
    const QPalette p = testPalette();
    EXPECT_EQ(translateColor(0x00C0C0C0, p), 0xC0C0C0);
    EXPECT_EQ(translateColor(0x00000000, p), 0);
    EXPECT_EQ(translateColor(0x02123456, p), 0x123456);
    EXPECT_EQ(translateColor(0x80000019, p), -1);  // index 25 names no colour
    EXPECT_EQ(translateColor(0x8000001F, p), -1);
    EXPECT_EQ(translateColor(0x80FFFFFF, p), -1);
    EXPECT_EQ(translateColor(0x01000005, p), -1);
    EXPECT_EQ(translateColor(0x80010005, p), -1);
    // The arithmetic still gets a colour: the low three bytes of an untranslatable value.
    EXPECT_EQ(resolveColor(0x8000001F, p), 0x00001Fu);
    EXPECT_EQ(resolveColor(0x8000000F, p), kFace);
}
