// The compound date and time types a meter sends in integer data fields:
// G (date, 2 bytes), J (time of day, 3 bytes), F (date and time, 4 bytes) and
// I (date and time with seconds, 6 bytes). Bytes least significant first.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mb {

struct DateTimeText {
    std::string iso;      // "2026-12-08", "2026-12-08T01:19", "2026-12-08T01:19:00", "01:19:00"
    std::string display;  // "2026-12-08 01:19"
    bool invalid = false; // the meter set the time-invalid bit
    bool summerTime = false;
    std::string error;    // not a date type of this length
};

// Picks the type from the length: 2 -> G, 3 -> J, 4 -> F, 6 -> I.
DateTimeText decodeDateTime(std::span<const std::uint8_t> lsbFirst);

DateTimeText decodeTypeG(std::span<const std::uint8_t, 2> b);
DateTimeText decodeTypeJ(std::span<const std::uint8_t, 3> b);
DateTimeText decodeTypeF(std::span<const std::uint8_t, 4> b);
DateTimeText decodeTypeI(std::span<const std::uint8_t, 6> b);

}  // namespace mb
