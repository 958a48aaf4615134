// The values a frame decodes into before any text is made: numbers, codes and
// where each record's bytes are, read in place from the caller's frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ReadingJson.h"
#include "core/ReadingText.h"
#include "mbus/MbusDecoder.h"
#include "mbus/MbusReadingView.h"
#include "tests/mbus/MbusTestSupport.h"

namespace mb::test {
namespace {

TEST(MbusValues, RecordsHoldNumbersCodesAndTheirPlaceInTheFrame) {
    // Energy int32 4711 at 10^3 Wh, volume BCD 12345 at 10^-3 m³, a type G
    // date, a BCD field with a bad digit.
    const auto frame = variableFrame("04 06 67 12 00 00 0C 13 45 23 01 00 02 6C 48 3C 0A 13 A1 00");
    MbusValues v;
    decodeMbusValues(frame, v);
    ASSERT_TRUE(v.checkPassed);
    EXPECT_EQ(v.frame.data(), frame.data());  // read in place
    ASSERT_EQ(v.records.size(), 4u);
    const struct {
        MbusShown shown;
        DataCoding coding;
        std::int64_t raw;
        double value;
        std::size_t start, end;  // offsets in the frame: 19 = 7 link bytes + 12 header bytes
        MbusProblem problem;
    } expected[] = {
        {MbusShown::Number, DataCoding::Integer, 4711, 4711000, 19, 25, MbusProblem::None},
        {MbusShown::Number, DataCoding::Bcd, 12345, 12.345, 25, 31, MbusProblem::None},
        {MbusShown::DateTime, DataCoding::Integer, 0x3C48, 0, 31, 35, MbusProblem::None},
        {MbusShown::Error, DataCoding::BadBcd, 0, 0, 35, 39, MbusProblem::BadBcdDigit},
    };
    for (std::size_t i = 0; i < v.records.size(); ++i) {
        SCOPED_TRACE(i);
        const MbusRecord& r = v.records[i];
        EXPECT_EQ(r.kind, MbusRecordKind::Data);
        EXPECT_EQ(r.shown, expected[i].shown);
        EXPECT_EQ(r.raw.coding, expected[i].coding);
        EXPECT_EQ(r.raw.integer, expected[i].raw);
        EXPECT_DOUBLE_EQ(r.value, expected[i].value);
        EXPECT_EQ(r.start, expected[i].start);
        EXPECT_EQ(r.end, expected[i].end);
        EXPECT_EQ(r.problem, expected[i].problem);
    }
    EXPECT_EQ(v.records[0].scale.exponent, 3);
    EXPECT_EQ(v.records[3].problemCode, 0xA);  // the digit the error names
}

TEST(MbusValues, ReusedValuesKeepNothingOfTheFrameBefore) {
    MbusValues v;
    decodeMbusValues(variableFrame("04 06 67 12 00 00 2F 1F AA"), v);
    ASSERT_EQ(v.records.size(), 2u);
    ASSERT_GT(v.headerCount, 10u);

    const auto ack = bytesFromHex("E5");
    decodeMbusValues(ack, v);
    EXPECT_TRUE(v.checkPassed);
    EXPECT_EQ(v.headerCount, 1u);
    EXPECT_TRUE(v.records.empty());

    const auto badChecksum = bytesFromHex("68 03 03 68 53 FE 51 00 16");
    decodeMbusValues(badChecksum, v);
    EXPECT_FALSE(v.checkPassed);
    EXPECT_EQ(v.problem, MbusProblem::Checksum);
    EXPECT_EQ(v.headerCount, 0u);

    // High-byte-first data, then a frame that sends low byte first again.
    decodeMbusValues(longFrame(bytesFromHex("76 12 34 56 78 24 40 01 07 55 00 00 00 02 3B 00 6E")), v);
    EXPECT_DOUBLE_EQ(v.records.at(0).value, 0.11);  // 0x006E = 110 x 10^-3 m³/h
    decodeMbusValues(variableFrame("02 3B 6E 00"), v);
    EXPECT_DOUBLE_EQ(v.records.at(0).value, 0.11);
    EXPECT_EQ(v.problem, MbusProblem::None);
}

}  // namespace
}  // namespace mb::test

namespace mb::test {
namespace {

// A frame with a record of each way a value is shown, written out by the view
// straight from the values, as `decode --batch` writes them.
TEST(MbusValues, TheViewWordsEveryKindOfRecord) {
    const auto frame = variableFrame(
        "04 06 67 12 00 00 "     // energy, int32, 10^3 Wh
        "4C 13 45 23 01 00 "     // volume, BCD, storage 1
        "04 6D 13 01 48 3C "     // date and time, type F
        "0C 78 17 58 85 06 "     // fabrication number, BCD digits
        "0D FD 0C 03 43 42 41 "  // model, LVAR text sent last character first
        "02 FD 17 13 00 "        // error flags
        "00 13 08 13 "           // no data; readout selection
        "0C 13 45 2A 01 00 "     // A is no BCD digit
        "0F 01 02");             // manufacturer data
    MbusValues values;
    decodeMbusValues(frame, values);
    const MbusReadingView view(values);

    std::string json;
    appendReadingJson(json, view);
    const std::string plain = R"("function":"instantaneous","storage":0,"tariff":0,"subunit":0,)";
    EXPECT_EQ(json,
              R"({"protocol":"mbus","check":"pass","header":{"frame":"RSP_UD","c_field":"08","address":1,)"
              R"("ci":"72","ci_text":"Variable data, long header","id":"12345678","manufacturer":"PAD",)"
              R"("version":1,"medium":"Water","medium_code":7,"access_number":85,"status":0,)"
              R"("status_text":"OK","signature":0},"records":[)"
              R"({"quantity":"Energy",)" + plain + R"("unit":"Wh","value":4711000},)"
              R"({"quantity":"Volume","function":"instantaneous","storage":1,"tariff":0,"subunit":0,)"
              R"("unit":"m^3","value":12.345},)"
              R"({"quantity":"Date and time",)" + plain + R"("unit":"","value":"2026-12-08T01:19"},)"
              R"({"quantity":"Fabrication number",)" + plain + R"("unit":"","value":"06855817"},)"
              R"({"quantity":"Model / version",)" + plain + R"("unit":"","value":"ABC"},)"
              R"({"quantity":"Error flags",)" + plain + R"("unit":"","value":19},)"
              R"({"quantity":"Volume",)" + plain + R"("unit":"m^3","value":null},)"
              R"({"quantity":"Volume",)" + plain + R"("unit":"m^3","value":null},)"
              R"({"quantity":"Volume",)" + plain +
                  R"("unit":"","value":null,"error":"not a BCD number: digit A","raw":"0C 13 45 2A 01 00"},)"
              R"({"quantity":"Manufacturer specific data","function":"manufacturer","storage":0,"tariff":0,)"
              R"("subunit":0,"unit":"","value":"01 02"}]})");

    std::string text;
    appendReadingText(text, view);
    EXPECT_NE(text.find("Signature  0\n"
                        "Energy  4711 kWh\n"
                        "Volume (storage 1)  12.345 m³\n"
                        "Date and time  2026-12-08 01:19\n"
                        "Fabrication number  06855817\n"
                        "Model / version  ABC\n"
                        "Error flags  0x0013\n"
                        "Volume  (no data)\n"
                        "Volume  (readout selection)\n"
                        "Volume  error: not a BCD number: digit A [0C 13 45 2A 01 00]\n"
                        "Manufacturer specific data (manufacturer)  01 02\n"),
              std::string::npos)
        << text;
}

// The checksum is summed eight bytes at a time: every length up to the
// longest frame, with the largest byte values, must still add up.
TEST(MbusValues, ChecksumHoldsForEveryLengthUpToTheLongestFrame) {
    MbusValues values;
    for (std::size_t length = 3; length <= 255; ++length) {
        std::vector<std::uint8_t> user(length, 0xFF);
        user[0] = 0x53;  // C
        user[2] = 0xB8;  // CI: set baud rate, nothing after it is decoded
        auto frame = longFrame({user.begin() + 2, user.end()}, user[0]);
        frame[5] = 0xFF;  // address
        unsigned sum = 0;
        for (std::size_t i = 4; i < frame.size() - 2; ++i) sum += frame[i];
        frame[frame.size() - 2] = static_cast<std::uint8_t>(sum);
        decodeMbusValues(frame, values);
        EXPECT_TRUE(values.checkPassed) << length;
        frame[frame.size() - 2] ^= 0x80;
        decodeMbusValues(frame, values);
        EXPECT_EQ(values.problem, MbusProblem::Checksum) << length;
    }
}

}  // namespace
}  // namespace mb::test
