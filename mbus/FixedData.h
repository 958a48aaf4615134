// The fixed data structure (CI 73/77): identification, access number, status,
// two medium/unit bytes and two 4-byte counters.
#pragma once

#include <cstdint>
#include <span>

#include "core/Reading.h"

namespace mb {

inline constexpr std::size_t kFixedDataLength = 16;

// Appends header fields and the two counter records. No data adds nothing;
// any other length than 16 bytes gives one error record with the bytes.
void decodeFixedData(Reading& reading, std::span<const std::uint8_t> data, bool msbFirst);

}  // namespace mb
