#include <gtest/gtest.h>

#include <vector>

#include "serial/HexText.h"

namespace mb {
namespace {

TEST(PadText, WidensOnTheChosenSideAndNeverShortens) {
    EXPECT_EQ(PadText("A", 2, "L"), "0A");
    EXPECT_EQ(PadText("3F", 2, "L"), "3F");
    EXPECT_EQ(PadText("123", 2, "L"), "123");
    EXPECT_EQ(PadText("1234", 10, "L"), "0000001234");
    EXPECT_EQ(PadText("", 2, "L"), "00");
    EXPECT_EQ(PadText("5", 3, "R"), "500");
    // The side test is exact and case-sensitive: anything but "L" pads right.
    EXPECT_EQ(PadText("5", 3, "l"), "500");
    EXPECT_EQ(PadText("5", 3, ""), "500");
    EXPECT_EQ(PadText("123", 3, "R"), "123");
    EXPECT_EQ(PadText("abc", 0, "L"), "abc");
    EXPECT_EQ(PadText("abc", -4, "L"), "abc");
}

TEST(PadText, CountsCharactersNotBytes) {
    // One two-byte character is one character: one zero is added, not none.
    EXPECT_EQ(PadText("\xC3\xA9", 2, "L"), "0\xC3\xA9");
}

TEST(HexPairToByte, ReadsTwoDecimalDigitsAsPackedDecimal) {
    EXPECT_EQ(HexPairToByte("37"), 0x37);
    EXPECT_EQ(HexPairToByte("10"), 0x10);
    EXPECT_EQ(HexPairToByte("90"), 144);
    EXPECT_EQ(HexPairToByte("99"), 153);
    EXPECT_EQ(HexPairToByte("00"), 0);
    EXPECT_EQ(HexPairToByte("09"), 9);  // the first digit is the high nibble
    for (int hi = 0; hi <= 9; ++hi) {
        for (int lo = 0; lo <= 9; ++lo) {
            const char pair[] = {static_cast<char>('0' + hi), static_cast<char>('0' + lo)};
            EXPECT_EQ(HexPairToByte(std::string_view(pair, 2)), hi * 16 + lo);
        }
    }
}

TEST(HexPairToByte, WrongLengthGivesZeroNotARefusal) {
    EXPECT_EQ(HexPairToByte(""), 0);
    EXPECT_EQ(HexPairToByte("7"), 0);
    EXPECT_EQ(HexPairToByte("123"), 0);
    EXPECT_EQ(HexPairToByte("\xE4\xB8\xAD"), 0);  // one (three-byte) character
}

TEST(HexPairToByte, RefusesTwoCharactersThatAreNotDecimalDigits) {
    for (const char* pair : {"1A", "A1", "0H", " 1", "1 ", "+1", "-1", "  ", "ff"}) {
        EXPECT_FALSE(HexPairToByte(pair).has_value()) << pair;
    }
    EXPECT_FALSE(HexPairToByte("\xE4\xB8\xAD"
                               "1")
                     .has_value());  // two characters, one of them wide
}

TEST(HexEcho, EveryByteIsTwoUpperCaseDigitsAndABlank) {
    EXPECT_EQ(HexEcho(std::vector<std::uint8_t>{0x68, 0x0A, 0xFF}), "68 0A FF ");
    EXPECT_EQ(HexEcho({}), "");
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    const std::string text = HexEcho(all);
    ASSERT_EQ(text.size(), 256u * 3);
    const char* digits = "0123456789ABCDEF";
    for (int i = 0; i < 256; ++i) {
        const std::string expected = {digits[i >> 4], digits[i & 15], ' '};
        EXPECT_EQ(text.substr(static_cast<std::size_t>(i) * 3, 3), expected) << i;
    }
}

TEST(HexEcho, AppendsWithoutSeparatorBetweenCalls) {
    std::string pane = "68 ";
    AppendHexEcho(pane, std::vector<std::uint8_t>{0x01});
    AppendHexEcho(pane, std::vector<std::uint8_t>{0x02});
    EXPECT_EQ(pane, "68 01 02 ");
}

}  // namespace
}  // namespace mb
