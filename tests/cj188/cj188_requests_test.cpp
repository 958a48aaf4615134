// Request bytes of the CJ/T 188 builder against frames published by public
// CJ/T 188 code (also in the shared frames folder, cj188/). Where a source
// differs in a byte the standard leaves to the master or the vendor (the
// sequence number SER, a vendor control code, the identifier's byte order),
// the row names the bytes edited in the published frame; the checksum is moved
// by the same amount, so every other byte is compared as published.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cj188/Cj188Requests.h"

namespace mb {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes hex(const std::string& text) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3)
        out.push_back(std::uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

struct Edit {
    std::size_t at;  // index from the 68
    std::uint8_t value;
};

// The published frame with `edits`; its checksum follows them.
Bytes edited(Bytes frame, const std::vector<Edit>& edits) {
    std::size_t start = 0;
    while (frame[start] == 0xFE) ++start;
    for (const Edit& e : edits) {
        std::uint8_t& byte = frame[start + e.at];
        frame[frame.size() - 2] = std::uint8_t(frame[frame.size() - 2] - byte + e.value);
        byte = e.value;
    }
    return frame;
}

Bytes withoutWakeUp(const Bytes& b) {
    std::size_t i = 0;
    while (i < b.size() && b[i] == 0xFE) ++i;
    return {b.begin() + long(i), b.end()};
}

Cj188Address plate(const char* digits) {
    return *cj188AddressFromPlate(digits);
}

TEST(Cj188Requests, MatchPublishedFrames) {
    constexpr std::uint8_t kSer = 0x01;
    struct Row {
        const char* source;
        const char* published;
        std::vector<Edit> edits;
        Bytes built;
    };
    const Row rows[] = {
        {"fox-edge Demo.java: read data, DI low byte first, SER 00",
         "68 10 01 00 00 05 08 00 00 01 03 1F 90 00 39 16",
         {{13, kSer}},
         cj188ReadData(0x10, plate("00000805000001"))},
        {"M-CB-780 mqtt_DC.lua: read data to AA x7, DI high byte first",
         "FE FE FE 68 10 AA AA AA AA AA AA AA 01 03 90 1F 01 D2 16",
         {{11, 0x1F}, {12, 0x90}},
         cj188Read(0x10, kCj188AnyAddress, 0x901F)},
        {"fox-edge Demo.java: write address 15 / A018, DI high byte first, SER 00",
         "68 10 02 00 00 05 08 00 00 15 0A A0 18 00 01 00 00 05 08 00 00 6C 16",
         {{11, 0x18}, {12, 0xA0}, {13, kSer}},
         cj188WriteAddress(0x10, plate("00000805000002"), plate("00000805000001"))},
        {"M-CB-780 mqtt_sw_4L.lua: valve open 55, vendor C 2A, DI high first, SER 00",
         "FE FE FE 68 10 92 00 71 40 02 00 00 2A 04 A0 17 00 55 F7 16",
         {{9, 0x04}, {11, 0x17}, {12, 0xA0}, {13, kSer}},
         cj188Valve(0x10, plate("00000240710092"), true)},
        {"M-CB-780 mqtt_sw_4L.lua: valve close 99, vendor C 2A, DI high first, SER 00",
         "FE FE FE 68 10 92 00 71 40 02 00 00 2A 04 A0 17 00 99 3B 16",
         {{9, 0x04}, {11, 0x17}, {12, 0xA0}, {13, kSer}},
         cj188Valve(0x10, plate("00000240710092"), false)},
    };
    for (const Row& row : rows) {
        const Bytes want = withoutWakeUp(edited(hex(row.published), row.edits));
        EXPECT_EQ(withoutWakeUp(row.built), want) << row.source;
        EXPECT_EQ(Bytes(row.built.begin(), row.built.begin() + 3), Bytes(3, 0xFE)) << row.source;
    }
}

// The clock goes as the meter sends its real time: the textbook reply in
// fox-edge Demo.java carries 2015-05-11 22:01:31 as 31 01 22 11 05 15 20.
TEST(Cj188Requests, ClockAndDaysInTheMetersOwnLayout) {
    const Bytes clock =
        withoutWakeUp(cj188SetClock(0x10, plate("00112233445566"), {2015, 5, 11, 22, 1, 31}));
    EXPECT_EQ(Bytes(clock.begin() + 9, clock.begin() + 14), hex("04 0A 15 A0 01 "))
        << "C, L, DI, SER";
    EXPECT_EQ(Bytes(clock.begin() + 14, clock.end() - 2), hex("31 01 22 11 05 15 20 "));
    const Bytes day = withoutWakeUp(cj188SetSettlementDay(0x10, plate("00112233445566"), 25));
    EXPECT_EQ(Bytes(day.begin() + 9, day.end() - 2), hex("04 04 11 A0 01 25 "));
    const Bytes sync =
        withoutWakeUp(cj188WriteSyncReading(0x10, plate("00112233445566"), 12345678));
    EXPECT_EQ(Bytes(sync.begin() + 9, sync.end() - 2), hex("16 08 16 A0 01 78 56 34 12 2C "));
}

}  // namespace
}  // namespace mb
