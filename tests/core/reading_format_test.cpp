// The text lines and the JSON object a Reading is shown as.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/ReadingJson.h"
#include "core/ReadingText.h"
#include "tests/support/core/NumberRecord.h"

namespace mb {
namespace {

using test::numberRecord;

Reading passed(std::vector<Record> records) {
    Reading r;
    r.protocol = "mbus";
    r.checkPassed = true;
    r.records = std::move(records);
    return r;
}

TEST(ReadingText, QualifiersOnlyWhenNotThePlainCurrentValue) {
    const struct {
        RecordFunction function;
        std::uint64_t storage, tariff, subunit;
        const char* line;
    } cases[] = {
        {RecordFunction::Instantaneous, 0, 0, 0, "Energy  4711 kWh"},
        {RecordFunction::Instantaneous, 1, 0, 0, "Energy (storage 1)  4711 kWh"},
        {RecordFunction::Maximum, 0, 2, 0, "Energy (maximum, tariff 2)  4711 kWh"},
        {RecordFunction::Minimum, 0, 0, 0, "Energy (minimum)  4711 kWh"},
        {RecordFunction::Error, 0, 0, 3, "Energy (error state, subunit 3)  4711 kWh"},
        {RecordFunction::Manufacturer, 0, 0, 0, "Energy (manufacturer)  4711 kWh"},
        {RecordFunction::Maximum, 12, 1, 1, "Energy (maximum, storage 12, tariff 1, subunit 1)  4711 kWh"},
    };
    for (const auto& c : cases) {
        Record r = numberRecord("Energy", "Wh", 4711000, "4711 kWh");
        r.function = c.function;
        r.storage = c.storage;
        r.tariff = c.tariff;
        r.subunit = c.subunit;
        EXPECT_EQ(readingLines(passed({r})), std::vector<std::string>{c.line});
    }
}

TEST(ReadingText, HeaderThenRecordsAndErrorsWithTheirBytes) {
    Reading r = passed({numberRecord("Flow temperature", "°C", 65.2, "65.2 °C")});
    r.header = {{"id", "Identification", std::string("11120895")},
                {"version", "Version", std::int64_t{2}}};
    Record broken;
    broken.quantity = "Volume";
    broken.storage = 1;
    broken.error = "invalid BCD digit";
    broken.rawHex = "0C 13 5A 00";
    Record unknown;
    unknown.error = "unknown VIF";
    unknown.rawHex = "04 7E";
    r.records.push_back(broken);
    r.records.push_back(unknown);
    EXPECT_EQ(readingLines(r), (std::vector<std::string>{
                                   "Identification  11120895",
                                   "Version  2",
                                   "Flow temperature  65.2 °C",
                                   "Volume (storage 1)  error: invalid BCD digit [0C 13 5A 00]",
                                   "Record  error: unknown VIF [04 7E]",
                               }));
}

TEST(ReadingViews, FailedAndNonFramesSaySo) {
    Reading notAFrame;
    notAFrame.protocol = "cj188";
    notAFrame.error = "no start byte";
    EXPECT_EQ(readingLines(notAFrame), std::vector<std::string>{"Frame error: no start byte"});
    EXPECT_EQ(readingJson(notAFrame),
              R"({"protocol":"cj188","check":"error","error":"no start byte","header":{},"records":[]})");

    Reading failed;
    failed.header = {{"address", "Address", std::string("78330011223344")}};
    const std::vector<std::string> lines = readingLines(failed);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("Check failed"), std::string::npos);
    EXPECT_EQ(lines[1], "Address  78330011223344");
    EXPECT_EQ(readingJson(failed), R"({"protocol":"","check":"fail","header":{"address":"78330011223344"},"records":[]})");
}

TEST(ReadingText, MeterTextCannotDriveTheTerminal) {
    // Escape sequence, a C1 control (U+009B, CSI) and a byte that is not UTF-8.
    Record r = numberRecord("Text\x1B[2J", "", 0, "a\tb\xC2\x9B" "c\xFF");
    const std::string line = readingLines(passed({r})).at(0);
    EXPECT_EQ(line, "Text\\x1B[2J  a\\x09b\\u009Bc\xEF\xBF\xBD");
}

TEST(ReadingJson, NumbersRoundTripAndIntegersHaveNoFraction) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {4711000, "4711000"},
        {100000000, "100000000"},
        {-5, "-5"},
        {0, "0"},
        {12.34, "12.34"},
        {0.01234, "0.01234"},
        {9007199254740992.0, "9007199254740992"},
        {1e300, "1e+300"},
        {std::numeric_limits<double>::quiet_NaN(), "null"},
        {std::numeric_limits<double>::infinity(), "null"},
        {-std::numeric_limits<double>::infinity(), "null"},
    };
    for (const auto& c : cases) EXPECT_EQ(jsonNumber(c.value), c.text);

    for (double v : {0.1, 1.0 / 3, 65.2, 1234.56e3, 2.5e-8, -0.0, 5e-324, 1.7976931348623157e308}) {
        const std::string text = jsonNumber(v);
        double back = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(result.ec, std::errc()) << text;
        EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v)) << text;
    }
}

TEST(ReadingJson, OneObjectWithStableKeys) {
    Reading r = passed({numberRecord("Energy", "Wh", 4711000, "4711 kWh")});
    r.header = {{"id", "Identification", std::string("11120895")},
                {"version", "Version", std::int64_t{2}}};
    Record date;
    date.quantity = "Date and time";
    date.function = RecordFunction::Maximum;
    date.storage = 1;
    date.tariff = 2;
    date.subunit = 3;
    date.value = std::string("2026-12-08T01:19:00");
    Record broken = numberRecord("Volume", "m^3", 12.5, "12.5 m³");
    broken.error = "truncated";
    broken.rawHex = "0C 13";
    Record empty;
    empty.quantity = "Manufacturer data";
    empty.function = RecordFunction::Other;
    r.records = {r.records[0], date, broken, empty};
    EXPECT_EQ(readingJson(r),
              R"({"protocol":"mbus","check":"pass","header":{"id":"11120895","version":2},"records":[)"
              R"({"quantity":"Energy","function":"instantaneous","storage":0,"tariff":0,"subunit":0,"unit":"Wh","value":4711000},)"
              R"({"quantity":"Date and time","function":"maximum","storage":1,"tariff":2,"subunit":3,"unit":"","value":"2026-12-08T01:19:00"},)"
              R"({"quantity":"Volume","function":"instantaneous","storage":0,"tariff":0,"subunit":0,"unit":"m^3","value":null,"error":"truncated","raw":"0C 13"},)"
              R"({"quantity":"Manufacturer data","function":"other","storage":0,"tariff":0,"subunit":0,"unit":"","value":null}]})");
}

TEST(ReadingJson, HostileTextStaysInsideItsString) {
    Record r = numberRecord("\"q\"\\\n\x01", "", 1, "");
    r.value = std::string("}\xFF");
    const std::string json = readingJson(passed({r}));
    EXPECT_NE(json.find(R"("quantity":"\"q\"\\\n\u0001")"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("value":"}�")"), std::string::npos) << json;
}

}  // namespace
}  // namespace mb
