// The values a CJ/T 188 frame decodes into, and the JSON its view writes from
// them without making any display text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cj188/Cj188Decoder.h"
#include "cj188/Cj188ReadingView.h"
#include "core/ReadingJson.h"

namespace mb {
namespace {

// A water meter's Read Data reply to plate 78330012345678, checksum summed by hand:
// 123.45 m³ now, 10.00 m³ at settlement, 2026-12-08 01:19:00, ST1 04 (battery low).
const std::vector<std::uint8_t> kWaterReply = {
    0x68, 0x10, 0x78, 0x56, 0x34, 0x12, 0x00, 0x33, 0x78, 0x81, 0x16, 0x90, 0x1F, 0x00,
    0x45, 0x23, 0x01, 0x00, 0x2C, 0x00, 0x10, 0x00, 0x00, 0x2C, 0x00, 0x19, 0x01, 0x08,
    0x12, 0x26, 0x20, 0x04, 0x00, 0xCC, 0x16};

TEST(Cj188Values, FieldsHoldNumbersAndTheViewWritesJsonFromThem) {
    Cj188Values values;
    decodeCj188Values(kWaterReply, values);
    ASSERT_TRUE(values.checkPassed);
    ASSERT_EQ(values.recordCount, 6u);
    EXPECT_EQ(values.records[0].number, 12345u);
    EXPECT_DOUBLE_EQ(values.records[0].value, 123.45);
    EXPECT_EQ(values.records[2].year, 2026);
    EXPECT_EQ(values.records[2].second, 0);
    EXPECT_EQ(values.frame.data(), kWaterReply.data());  // read in place

    std::string json;
    appendReadingJson(json, Cj188ReadingView(values));
    const std::string plain = R"("function":"instantaneous","storage":0,"tariff":0,"subunit":0,)";
    EXPECT_EQ(json,
              R"({"protocol":"cj188","check":"pass","header":{"meter_type":"10","medium":"Cold water meter",)"
              R"("address":"78330012345678","control":"81","command":"Read data reply","di":"901F","ser":0},)"
              R"("records":[{"quantity":"Current cumulative flow",)" + plain + R"("unit":"m^3","value":123.45},)"
              R"({"quantity":"Settlement date cumulative flow",)" + plain + R"("unit":"m^3","value":10},)"
              R"({"quantity":"Real time",)" + plain + R"("unit":"","value":"2026-12-08T01:19:00"},)"
              R"({"quantity":"Status",)" + plain + R"("unit":"","value":"04 00"},)"
              R"({"quantity":"Valve",)" + plain + R"("unit":"","value":"open"},)"
              R"({"quantity":"Battery",)" + plain + R"("unit":"","value":"low"}]})");

    // The same values decode the next frame: a wrong checksum keeps the header only.
    std::vector<std::uint8_t> broken = kWaterReply;
    broken[broken.size() - 2] ^= 1;
    decodeCj188Values(broken, values);
    EXPECT_FALSE(values.checkPassed);
    EXPECT_EQ(values.problem, Cj188Problem::Checksum);
    EXPECT_EQ(values.recordCount, 0u);
    EXPECT_FALSE(values.hasDataIdentifier);
    EXPECT_EQ(Cj188ReadingView(values).headerCount(), 5u);
}

}  // namespace
}  // namespace mb
