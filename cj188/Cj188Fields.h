// The fields of CJ/T 188 reply data, read into numbers. Every function gets
// exactly the bytes of its field (the caller checks the length), low byte
// first as the meter sends them, and fills the record the caller added.
#pragma once

#include <cstdint>
#include <span>

#include "cj188/Cj188Values.h"

namespace mb {

using Cj188Bytes = std::span<const std::uint8_t>;

// Four BCD bytes with `decimals` fraction digits, then a unit code (5 bytes).
void cj188Amount(Cj188Record& record, Cj188Bytes bytes, int decimals);

// Three BCD bytes, two decimals, degrees Celsius.
void cj188Temperature(Cj188Record& record, Cj188Bytes bytes);

// BCD bytes with `decimals` fraction digits and no unit code: prices, money,
// whole volumes and days of the month.
void cj188Fixed(Cj188Record& record, Cj188Bytes bytes, int decimals);

// Three BCD bytes of whole hours; the value is kept in seconds.
void cj188Hours(Cj188Record& record, Cj188Bytes bytes);

// Seven BCD bytes: second, minute, hour, day, month, year (low pair first);
// a field that is no date so but is one read year first is taken that way.
void cj188RealTime(Cj188Record& record, Cj188Bytes bytes);

// ST1 ST2 at frame[at]: the raw status, then the valve and battery ST1 reports.
void addCj188Status(Cj188Values& values, std::size_t at);

}  // namespace mb
