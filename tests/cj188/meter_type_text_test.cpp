// The meter type as a technician types it (in the window or after the command
// line's --meter-type): a hex byte with or without " - " before it and H after
// it is that byte; text that is no hex byte is refused, never sent as 00.
#include <gtest/gtest.h>

#include <optional>

#include "cj188/Cj188Requests.h"

namespace mb {
namespace {

TEST(MeterTypeText, AHexByteWithOrWithoutDashAndHIsThatByte) {
    const struct {
        const char* text;  // UTF-8
        std::optional<std::uint8_t> type;
    } cases[] = {
        {" - 10H", 0x10},   {" - 1AH", 0x1A}, {"1AH", 0x1A},  {"1A", 0x1A},   {"10H", 0x10},
        {"10h", 0x10},      {"aa", 0xAA},     {"AA", 0xAA},   {" 20H ", 0x20}, {"-21H", 0x21},
        {" - 1", 0x01},     {"7", 0x07},      {" - fbH", 0xFB},
        // Characters 4 and 5 still name the type after other leading text.
        {" \u2013 19H", 0x19}, {"\u7C7B\u578B 12H", 0x12},
        // No hex byte: refused.
        {"", std::nullopt},  {" - ", std::nullopt},  {"H", std::nullopt},    {" - 1GH", std::nullopt},
        {" - x1H", std::nullopt}, {" - 1 H", std::nullopt}, {"100H", std::nullopt}, {"1AHH", std::nullopt},
        {"--10H", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(meterTypeByte(c.text), c.type) << '"' << c.text << '"';
}

}  // namespace
}  // namespace mb
