// Collects one candidate reply frame from the receive ring, the way every
// protocol's reply parser does: hunt for the start byte, collect up to the
// checksum position the frame's length byte gives, accept on a matching
// checksum. A protocol states only its frame's shape (FrameShape).
#pragma once

#include <array>
#include <cstdint>

#include "core/ReceiveRing.h"

namespace mb {

// Parser state that survives between calls, across mode changes and across new
// requests: a candidate opened under one protocol is continued by the other.
struct FrameCollector {
    std::array<std::uint8_t, 257> frameBuffer{};  // the last candidate, [0..255] used
    std::int16_t frameIndex = 0;                  // where the next candidate byte goes; 0 = hunting
    // The parsers' own running sum. Request builders keep theirs apart, so a
    // request built while a reply is half collected leaves that reply intact.
    std::uint32_t checkSum = 0;
    // Candidates dropped so far, for telling the technician why nothing passed.
    std::uint64_t wrongChecksums = 0;
    std::uint64_t wrongHeaders = 0;
};

// Where a protocol's frame keeps its length and checksum. All frames start
// with 0x68 and end with a checksum over a run of the bytes before it.
struct FrameShape {
    int lengthIndex;     // the byte L
    int checksumOffset;  // the checksum sits at frameBuffer[lengthIndex] + checksumOffset
    int sumStartIndex;   // the sum covers [sumStartIndex .. checksum index - 1]
    // Called once the bytes [0 .. headerSize-1] are collected; false rejects the
    // start, and hunting resumes at the byte after it. Null: no header check.
    bool (*headerValid)(const std::uint8_t* header);
    int headerSize;
};

inline constexpr std::uint8_t kFrameStartByte = 0x68;

// Returns when the ring has no more unread bytes for it, or after it accepted
// one frame (then frameComplete is 1; the frame is frameBuffer[0 .. its checksum
// index]). Does nothing when the ring has no data or frameComplete is already 1.
void collectFrame(ReceiveRing& ring, FrameCollector& collector, const FrameShape& shape,
                  std::uint8_t& frameComplete);

// The length of the frame the collector accepted last (start byte to checksum).
int acceptedFrameLength(const FrameCollector& collector, const FrameShape& shape);

}  // namespace mb
