// The fields of CJ/T 188 reply data, each turned into records. Every function
// gets exactly the bytes of its field (the caller checks the length), low
// byte first as the meter sends them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Reading.h"

namespace mb {

using Cj188Bytes = std::span<const std::uint8_t>;

// "04 06 67": the bytes as the received-data pane shows them.
std::string cj188HexText(Cj188Bytes bytes);

// Four BCD bytes with `decimals` fraction digits, then a unit code (5 bytes).
Record cj188Amount(Cj188Bytes bytes, std::string_view quantity, int decimals);

// Three BCD bytes, two decimals, degrees Celsius.
Record cj188Temperature(Cj188Bytes bytes, std::string_view quantity);

// Three BCD bytes of whole hours; the value is kept in seconds.
Record cj188Hours(Cj188Bytes bytes, std::string_view quantity);

// Seven BCD bytes: second, minute, hour, day, month, year (low pair first);
// a field that is no date so but is one read year first is taken that way.
Record cj188RealTime(Cj188Bytes bytes, std::string_view quantity);

// ST1 ST2 (2 bytes): the raw status, then the valve and battery ST1 reports.
std::vector<Record> cj188Status(Cj188Bytes bytes);

// Bytes no field takes, kept as hex so nothing the meter sent is hidden.
Record cj188RawRecord(Cj188Bytes bytes, std::string_view quantity);

}  // namespace mb
