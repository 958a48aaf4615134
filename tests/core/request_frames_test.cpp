#include <gtest/gtest.h>

#include <vector>

#include "cj188/Cj188Operations.h"
#include "cj188/Cj188Requests.h"
#include "core/PaneText.h"
#include "mbus/MbusRequests.h"
#include "tests/support/core/HexBytes.h"

namespace mb {
namespace {

using test::HexBytes;

std::vector<std::uint8_t> Sent(const TxBuffer& tx, int lastIndex) {
    return {tx.begin(), tx.begin() + lastIndex + 1};
}

Cj188Fields ExampleFields() {
    return {"1234567890", "33", "78", " - 10H"};
}

TEST(Cj188ReadData, WorkedExample) {
    TxBuffer tx{};
    const int last = buildCj188ReadData(tx, ExampleFields());
    EXPECT_EQ(last, 18);
    EXPECT_EQ(Sent(tx, last), HexBytes("FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16"));
}

TEST(Cj188ReadData, FieldDerivation) {
    TxBuffer tx{};
    Cj188Fields f = ExampleFields();
    f.deviceId = "42";
    buildCj188ReadData(tx, f);
    EXPECT_EQ(Sent(tx, 18).at(5), 0x42);
    EXPECT_EQ(std::vector<std::uint8_t>(tx.begin() + 5, tx.begin() + 10),
              HexBytes("42 00 00 00 00"));

    f.deviceId = "  1234 ";  // blanks around the number are ignored
    buildCj188ReadData(tx, f);
    EXPECT_EQ(std::vector<std::uint8_t>(tx.begin() + 5, tx.begin() + 10),
              HexBytes("34 12 00 00 00"));

    f = ExampleFields();
    f.deviceId = "";
    f.vendorCodeLow = "";
    f.vendorCodeHigh = "5";
    buildCj188ReadData(tx, f);
    EXPECT_EQ(std::vector<std::uint8_t>(tx.begin() + 5, tx.begin() + 12),
              HexBytes("00 00 00 00 00 00 05"));

    f = ExampleFields();
    f.meterType = " - 21H";
    buildCj188ReadData(tx, f);
    EXPECT_EQ(tx[4], 0x21);
    f.meterType = "10H";  // typed without " - ": still the byte 10
    buildCj188ReadData(tx, f);
    EXPECT_EQ(tx[4], 0x10);
    f.meterType = " - 1";  // one digit: the byte 01
    tx[4] = 0x77;
    buildCj188ReadData(tx, f);
    EXPECT_EQ(tx[4], 0x01);
}

// Frames written out by hand: CS is the sum of 68 through the last data byte,
// modulo 256, so each step of the meter type moves it by one.
TEST(Cj188ReadData, ChecksumCoversIndices3To16AsTheyStand) {
    const std::pair<const char*, const char*> frames[] = {
        {" - 10H", "FE FE FE 68 10 99 99 99 99 99 33 78 01 03 1F 90 01 D4 16"},
        {" - 11H", "FE FE FE 68 11 99 99 99 99 99 33 78 01 03 1F 90 01 D5 16"},
        {" - 13H", "FE FE FE 68 13 99 99 99 99 99 33 78 01 03 1F 90 01 D7 16"},
        {" - 19H", "FE FE FE 68 19 99 99 99 99 99 33 78 01 03 1F 90 01 DD 16"},
        {" - 20H", "FE FE FE 68 20 99 99 99 99 99 33 78 01 03 1F 90 01 E4 16"},
        {" - 21H", "FE FE FE 68 21 99 99 99 99 99 33 78 01 03 1F 90 01 E5 16"},
    };
    TxBuffer tx{};
    for (const auto& [type, frame] : frames) {
        Cj188Fields f = ExampleFields();
        f.meterType = type;
        f.deviceId = "9999999999";
        buildCj188ReadData(tx, f);
        EXPECT_EQ(Sent(tx, 18), HexBytes(frame)) << type;
    }
}

TEST(Cj188ReadData, RefusedPieceKeepsTheByteAlreadyThere) {
    TxBuffer tx{};
    Cj188Fields f = ExampleFields();
    f.meterType = " - 1GH";  // hand-typed, not a hex byte
    buildCj188ReadData(tx, f);
    EXPECT_EQ(tx[4], 0x00);  // the buffer's start value
    f.meterType = " - 21H";
    buildCj188ReadData(tx, f);
    f.meterType = " - 1GH";
    buildCj188ReadData(tx, f);
    // The type left by the earlier request, and a checksum that covers it.
    EXPECT_EQ(Sent(tx, 18), HexBytes("FE FE FE 68 21 90 78 56 34 12 33 78 01 03 1F 90 01 8C 16"));

    f = ExampleFields();
    f.vendorCodeLow = "3a";
    buildCj188ReadData(tx, f);
    EXPECT_EQ(tx[10], 0x33);  // from the previous build with "33"
}

TEST(Cj188ReadData, IdenticalInputsGiveIdenticalFrames) {
    TxBuffer a{};
    TxBuffer b{};
    b.fill(0x5A);  // whatever earlier requests left
    buildCj188ReadData(a, ExampleFields());
    buildCj188ReadData(b, ExampleFields());
    EXPECT_EQ(Sent(a, 18), Sent(b, 18));
    buildCj188ReadData(a, ExampleFields());
    EXPECT_EQ(Sent(a, 18), Sent(b, 18));
    EXPECT_EQ(b[19], 0x5A);  // indices past the frame are never cleared
}

TEST(Cj188ReadId, WorkedExamples) {
    TxBuffer tx{};
    EXPECT_EQ(buildCj188ReadId(tx, " - 10H"), 18);
    EXPECT_EQ(Sent(tx, 18), HexBytes("FE FE FE 68 10 AA AA AA AA AA AA AA 03 03 0A 81 01 B0 16"));
    buildCj188ReadId(tx, " - 20H");
    EXPECT_EQ(Sent(tx, 18), HexBytes("FE FE FE 68 20 AA AA AA AA AA AA AA 03 03 0A 81 01 C0 16"));
}

TEST(MbusReadData, ShortFrameFromTheDeviceId) {
    TxBuffer tx{};
    EXPECT_EQ(buildMbusReadData(tx, ""), 4);
    EXPECT_EQ(Sent(tx, 4), HexBytes("10 5B 00 5B 16"));
    buildMbusReadData(tx, "01");
    EXPECT_EQ(Sent(tx, 4), HexBytes("10 5B 01 5C 16"));
    buildMbusReadData(tx, "FE");
    EXPECT_EQ(Sent(tx, 4), HexBytes("10 5B FE 59 16"));
    buildMbusReadData(tx, "fe");
    EXPECT_EQ(Sent(tx, 4), HexBytes("10 5B FE 59 16"));
    buildMbusReadData(tx, "1");
    EXPECT_EQ(tx[2], 0x01);
}

TEST(mbusAddressFromText, FirstTwoCharactersAsHex) {
    EXPECT_EQ(mbusAddressFromText("A5"), 0xA5);
    EXPECT_EQ(mbusAddressFromText("a"), 0x0A);
    EXPECT_EQ(mbusAddressFromText("123"), 0x12);
    EXPECT_EQ(mbusAddressFromText("1G"), 0x01);
    EXPECT_EQ(mbusAddressFromText("G1"), 0x00);
}

TEST(MbusModifyId, LongFrameToAddress254) {
    TxBuffer tx{};
    EXPECT_EQ(buildMbusModifyId(tx, "05"), 11);
    EXPECT_EQ(Sent(tx, 11), HexBytes("68 06 06 68 53 FE 51 01 7A 05 22 16"));
    buildMbusModifyId(tx, "");
    EXPECT_EQ(Sent(tx, 11), HexBytes("68 06 06 68 53 FE 51 01 7A 00 1D 16"));
    buildMbusModifyId(tx, "FF");
    EXPECT_EQ(Sent(tx, 11), HexBytes("68 06 06 68 53 FE 51 01 7A FF 1C 16"));
}

TEST(MbusFrames, LeaveTheRestOfTxBufferAlone) {
    TxBuffer tx{};
    buildCj188ReadData(tx, ExampleFields());
    const TxBuffer before = tx;
    buildMbusReadData(tx, "01");
    EXPECT_TRUE(std::equal(tx.begin() + 5, tx.end(), before.begin() + 5));
}

TEST(PaneText, PaneTextIsEveryByteWithABlank) {
    TxBuffer tx{};
    buildCj188ReadData(tx, ExampleFields());
    EXPECT_EQ(framePaneText(tx, 18), "FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16 ");
    buildMbusReadData(tx, "0a");
    EXPECT_EQ(framePaneText(tx, 4), "10 5B 0A 65 16 ");
    EXPECT_EQ(framePaneText(tx, -1), "");
    EXPECT_EQ(framePaneText(tx, 1000).size(), 257u * 3);
}

TEST(PaneText, ReadBackGivesTheFrameAgain) {
    TxBuffer tx{};
    buildCj188ReadId(tx, " - 13H");
    EXPECT_EQ(paneTextToBytes(" " + framePaneText(tx, 18)), Sent(tx, 18));
    EXPECT_EQ(paneTextToBytes(framePaneText(tx, 18) + " "), Sent(tx, 18));
}

TEST(PaneText, ReadBackTakesTheLeadingEvenHexRun) {
    EXPECT_EQ(paneTextToBytes("fe 6 8 a"), HexBytes("FE 68"));  // odd run: last digit dropped
    EXPECT_EQ(paneTextToBytes("68 0G 11"), HexBytes("68"));     // "680" then G ends the run
    EXPECT_EQ(paneTextToBytes("10 5B\n00 5B 16"), HexBytes("10 5B"));
    EXPECT_TRUE(paneTextToBytes("").empty());
    EXPECT_TRUE(paneTextToBytes("   ").empty());
    EXPECT_TRUE(paneTextToBytes("X1").empty());
    EXPECT_TRUE(paneTextToBytes("1").empty());
}

}  // namespace
}  // namespace mb
