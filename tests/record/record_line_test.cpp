#include <gtest/gtest.h>

#include <vector>

#include "record/RecordLine.h"
#include "record/RecordTime.h"
#include "tests/record/RecordFileReader.h"

namespace mb {
namespace {

using namespace std::chrono;

RecordTimePoint at(year_month_day date, hours h, minutes m, seconds s, microseconds us) {
    return RecordTimePoint(sys_days(date)) + h + m + s + us;
}

TEST(RecordTime, StampsAreUtcToTheMicrosecondWithFixedWidth) {
    struct Case {
        RecordTimePoint t;
        const char* line;
        const char* file;
    };
    const Case cases[] = {
        {at(2026y / 12 / 8, 1h, 19min, 0s, 123456us), "2026-12-08T01:19:00.123456Z", "2026-12-08T01-19-00.123456Z"},
        {RecordTimePoint{}, "1970-01-01T00:00:00.000000Z", "1970-01-01T00-00-00.000000Z"},
        {at(2024y / 2 / 29, 23h, 59min, 59s, 999999us), "2024-02-29T23:59:59.999999Z", "2024-02-29T23-59-59.999999Z"},
        {at(2025y / 1 / 1, 0h, 0min, 0s, 7us), "2025-01-01T00:00:00.000007Z", "2025-01-01T00-00-00.000007Z"},
        // Nanoseconds below the microsecond are cut, not rounded into the next second.
        {at(2025y / 6 / 30, 12h, 0min, 59s, 999999us) + 999ns, "2025-06-30T12:00:59.999999Z",
         "2025-06-30T12-00-59.999999Z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utcStamp(c.t), c.line);
        EXPECT_EQ(fileStamp(c.t), c.file);
    }
}

TEST(RecordTime, CachedStampAgreesAcrossSecondsAndWhenTimeGoesBack) {
    const RecordTimePoint base = at(2026y / 12 / 8, 1h, 19min, 0s, 0us);
    const std::vector<microseconds> offsets = {0us,      1us,      999999us, 1000000us, 1000001us, 500000us,
                                               3600000000us, 3600000000us, 86400000000us - 1us, 86400000000us};
    UtcStampCache cache;
    for (const auto offset : offsets) EXPECT_EQ(cache.stamp(base + offset), utcStamp(base + offset));
}

TEST(RecordLine, BytesBecomeUpperCaseHexSplitEvery4096Bytes) {
    struct Case {
        std::size_t size;
        std::vector<std::size_t> lineSizes;
    };
    const Case cases[] = {
        {0, {}}, {1, {1}}, {4096, {4096}}, {4097, {4096, 1}}, {10000, {4096, 4096, 1808}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.size);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
        std::string out;
        appendBytesLines(out, "2026-12-08T01:19:00.123456Z", "COM3", ByteDirection::rx, bytes);

        std::vector<std::uint8_t> joined;
        std::size_t line = 0;
        for (std::size_t start = 0; start < out.size(); ++line) {
            const std::size_t end = out.find('\n', start);
            ASSERT_NE(end, std::string::npos);
            const auto parsed = test::parseLine(std::string_view(out).substr(start, end - start));
            ASSERT_TRUE(parsed.has_value()) << out.substr(start, end - start);
            EXPECT_EQ(parsed->t, "2026-12-08T01:19:00.123456Z");
            EXPECT_EQ(parsed->port, "COM3");
            EXPECT_EQ(parsed->dir, "rx");
            const auto chunk = test::parseHex(parsed->value);
            ASSERT_TRUE(chunk.has_value());
            ASSERT_LT(line, c.lineSizes.size());
            EXPECT_EQ(chunk->size(), c.lineSizes[line]);
            joined.insert(joined.end(), chunk->begin(), chunk->end());
            start = end + 1;
        }
        EXPECT_EQ(line, c.lineSizes.size()) << c.size << " bytes";
        EXPECT_EQ(joined, bytes);
    }
}

TEST(RecordLine, ExactTextOfATransmitAndAnEventLine) {
    std::string out;
    const std::vector<std::uint8_t> frame = {0x10, 0x5B, 0x01, 0x5C, 0x16, 0x00, 0xFF, 0xa0};
    appendBytesLines(out, "2026-12-08T01:19:00.123456Z", "COM1", ByteDirection::tx, frame);
    appendEventLine(out, "2026-12-08T01:19:00.123457Z", "COM1", "connected 2400,E,8,1");
    EXPECT_EQ(out,
              "{\"t\": \"2026-12-08T01:19:00.123456Z\", \"port\": \"COM1\", \"dir\": \"tx\", "
              "\"hex\": \"10 5B 01 5C 16 00 FF A0\"}\n"
              "{\"t\": \"2026-12-08T01:19:00.123457Z\", \"port\": \"COM1\", \"dir\": \"event\", "
              "\"text\": \"connected 2400,E,8,1\"}\n");
}

TEST(RecordLine, HostileTextAndPortStayInsideTheirStrings) {
    const std::string hostile = "x\"}\n{\"t\": \"forged\", \"dir\": \"tx\"}\r\\\t\x01\x1F end \xFF\xC0 \xE2\x82\xAC";
    std::string out;
    appendEventLine(out, "2026-12-08T01:19:00.123456Z", "CO\"M\n1", hostile);
    ASSERT_EQ(out.find('\n'), out.size() - 1) << "the line was broken: " << out;
    const auto parsed = test::parseLine(std::string_view(out).substr(0, out.size() - 1));
    ASSERT_TRUE(parsed.has_value()) << out;
    EXPECT_EQ(parsed->port, "CO\"M\n1");
    // Invalid UTF-8 comes back as U+FFFD; everything else exactly.
    EXPECT_EQ(parsed->value,
              "x\"}\n{\"t\": \"forged\", \"dir\": \"tx\"}\r\\\t\x01\x1F end \xEF\xBF\xBD\xEF\xBF\xBD \xE2\x82\xAC");
}

}  // namespace
}  // namespace mb
