// The fixed data structure (CI 73/77): identification, access number, status,
// two medium/unit bytes and two 4-byte counters.
#pragma once

#include <cstdint>

#include "mbus/MbusValues.h"
#include "mbus/VifTable.h"

namespace mb {

inline constexpr std::size_t kFixedDataLength = 16;

// Adds the header fields and the two counters from values.frame[begin,
// values.userDataEnd). No data adds nothing; any other length than 16 bytes
// gives one undecoded record.
void decodeFixedData(MbusValues& values, std::size_t begin);

// The meaning of a counter's six unit bits.
ValueMeaning fixedUnitMeaning(std::uint8_t unitBits);

}  // namespace mb
