// The compound date and time types a meter sends in integer data fields:
// G (date, 2 bytes), J (time of day, 3 bytes), F (date and time, 4 bytes) and
// I (date and time with seconds, 6 bytes). Bytes least significant first.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mb {

struct DateTimeParts {
    enum class Type : std::uint8_t { None, G, J, F, I };
    Type type = Type::None;  // None: no date type is that many bytes long
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    bool invalid = false;  // the meter set the time-invalid bit, or no calendar date
    bool summerTime = false;
};

// Picks the type from the length: 2 -> G, 3 -> J, 4 -> F, 6 -> I.
DateTimeParts decodeDateTime(std::span<const std::uint8_t> lsbFirst);

DateTimeParts decodeTypeG(std::span<const std::uint8_t, 2> b);
DateTimeParts decodeTypeJ(std::span<const std::uint8_t, 3> b);
DateTimeParts decodeTypeF(std::span<const std::uint8_t, 4> b);
DateTimeParts decodeTypeI(std::span<const std::uint8_t, 6> b);

// "2026-12-08", "2026-12-08T01:19", "2026-12-08T01:19:00", "01:19:00".
void appendIsoDateTime(std::string& out, const DateTimeParts& t);
// As the meter shows it: "2026-12-08 01:19".
void appendDisplayDateTime(std::string& out, const DateTimeParts& t);

}  // namespace mb
