#include <gtest/gtest.h>

#include <vector>

#include "core/HexText.h"

namespace mb {
namespace {

TEST(padText, WidensOnTheChosenSideAndNeverShortens) {
    EXPECT_EQ(padText("A", 2, "L"), "0A");
    EXPECT_EQ(padText("3F", 2, "L"), "3F");
    EXPECT_EQ(padText("123", 2, "L"), "123");
    EXPECT_EQ(padText("1234", 10, "L"), "0000001234");
    EXPECT_EQ(padText("", 2, "L"), "00");
    EXPECT_EQ(padText("5", 3, "R"), "500");
    // The side test is exact and case-sensitive: anything but "L" pads right.
    EXPECT_EQ(padText("5", 3, "l"), "500");
    EXPECT_EQ(padText("5", 3, ""), "500");
    EXPECT_EQ(padText("123", 3, "R"), "123");
    EXPECT_EQ(padText("abc", 0, "L"), "abc");
    EXPECT_EQ(padText("abc", -4, "L"), "abc");
}

TEST(padText, CountsCharactersNotBytes) {
    // One two-byte character is one character: one zero is added, not none.
    EXPECT_EQ(padText("\xC3\xA9", 2, "L"), "0\xC3\xA9");
}

TEST(hexPairToByte, ReadsTwoDecimalDigitsAsPackedDecimal) {
    EXPECT_EQ(hexPairToByte("37"), 0x37);
    EXPECT_EQ(hexPairToByte("10"), 0x10);
    EXPECT_EQ(hexPairToByte("90"), 144);
    EXPECT_EQ(hexPairToByte("99"), 153);
    EXPECT_EQ(hexPairToByte("00"), 0);
    EXPECT_EQ(hexPairToByte("09"), 9);  // the first digit is the high nibble
    for (int hi = 0; hi <= 9; ++hi) {
        for (int lo = 0; lo <= 9; ++lo) {
            const char pair[] = {static_cast<char>('0' + hi), static_cast<char>('0' + lo)};
            EXPECT_EQ(hexPairToByte(std::string_view(pair, 2)), hi * 16 + lo);
        }
    }
}

TEST(hexPairToByte, WrongLengthGivesZeroNotARefusal) {
    EXPECT_EQ(hexPairToByte(""), 0);
    EXPECT_EQ(hexPairToByte("7"), 0);
    EXPECT_EQ(hexPairToByte("123"), 0);
    EXPECT_EQ(hexPairToByte("\xE4\xB8\xAD"), 0);  // one (three-byte) character
}

TEST(hexPairToByte, RefusesTwoCharactersThatAreNotDecimalDigits) {
    for (const char* pair : {"1A", "A1", "0H", " 1", "1 ", "+1", "-1", "  ", "ff"}) {
        EXPECT_FALSE(hexPairToByte(pair).has_value()) << pair;
    }
    EXPECT_FALSE(hexPairToByte("\xE4\xB8\xAD"
                               "1")
                     .has_value());  // two characters, one of them wide
}

TEST(hexEcho, EveryByteIsTwoUpperCaseDigitsAndABlank) {
    EXPECT_EQ(hexEcho(std::vector<std::uint8_t>{0x68, 0x0A, 0xFF}), "68 0A FF ");
    EXPECT_EQ(hexEcho({}), "");
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    const std::string text = hexEcho(all);
    ASSERT_EQ(text.size(), 256u * 3);
    const char* digits = "0123456789ABCDEF";
    for (int i = 0; i < 256; ++i) {
        const std::string expected = {digits[i >> 4], digits[i & 15], ' '};
        EXPECT_EQ(text.substr(static_cast<std::size_t>(i) * 3, 3), expected) << i;
    }
}

TEST(hexEcho, AppendsWithoutSeparatorBetweenCalls) {
    std::string pane = "68 ";
    appendHexEcho(pane, std::vector<std::uint8_t>{0x01});
    appendHexEcho(pane, std::vector<std::uint8_t>{0x02});
    EXPECT_EQ(pane, "68 01 02 ");
}

}  // namespace
}  // namespace mb
