// The two reply parsers. Each walks the unread bytes of the ring, collects one
// candidate frame in FrameBuffer and accepts it on start byte, length byte and
// checksum alone:
//   ParseCj188Reply:    68 at [0], L at [10] (0..244), CS at [L+11] = sum [0..L+10]
//   ParseMbusLongFrame: 68 at [0], L at [2]  (1..251), CS at [L+4]  = sum [4..L+3]
// An accepted frame is consumed from the ring with ClsChar and reported through
// FrameComplete; a wrong checksum costs only the candidate's start byte.
#pragma once

#include <array>
#include <cstdint>

#include "serial/ReceiveRing.h"

namespace mb {

// Parser state that survives between calls, across mode changes and across new
// requests: a candidate opened under one mode is continued by the other parser.
struct FrameCollector {
    std::array<std::uint8_t, 257> FrameBuffer{};  // the last candidate, [0..255] used
    std::int16_t FrameIndex = 0;                  // where the next candidate byte goes; 0 = hunting
    // The parsers' own running sum. Request builders keep theirs apart, so a
    // request built while a reply is half collected leaves that reply intact.
    std::uint32_t CheckSum = 0;
};

// Each call returns when the ring has no more unread bytes for it, or after it
// accepted one frame (then FrameComplete is 1). Does nothing when the ring has
// no data or FrameComplete is already 1.
void ParseCj188Reply(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& FrameComplete);
void ParseMbusLongFrame(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& FrameComplete);

}  // namespace mb
