#include "core/FrameCollector.h"

#include <algorithm>

namespace mb {
namespace {

// Index of the checksum byte, from the length byte the buffer holds now. Until
// the current candidate's length byte is stored this reads an earlier
// candidate's value, which still lies beyond the current index.
int checksumIndex(const FrameCollector& c, const FrameShape& shape) {
    return c.frameBuffer[static_cast<std::size_t>(shape.lengthIndex)] + shape.checksumOffset;
}

void store(FrameCollector& c, std::uint8_t byte) {
    c.frameBuffer[static_cast<std::size_t>(c.frameIndex)] = byte;
    c.checkSum += byte;
    if (++c.frameIndex > 255) c.frameIndex = 0;  // too long: give up this start
}

// Drops the candidate; hunting goes on at the byte after its start byte, even
// when the look-ahead had already reached the end of what arrived.
void rejectCandidate(ReceiveRing& ring, FrameCollector& c) {
    c.frameIndex = 0;
    ring.resumeAtReadPos();
}

}  // namespace

void collectFrame(ReceiveRing& ring, FrameCollector& c, const FrameShape& shape,
                  std::uint8_t& frameComplete) {
    // After this index the checksum position no longer changes: the length
    // byte is stored and the sum has (re)started.
    const int settledAfter = std::max({shape.lengthIndex, shape.sumStartIndex,
                                       shape.headerValid ? shape.headerSize - 1 : 0});
    while (ring.ringHasData() && frameComplete == 0) {
        if (c.frameIndex == 0) {
            // Hunting: every byte up to the next start byte is consumed and
            // dropped; a candidate's look-ahead starts just after its start byte.
            const bool found = ring.ringTakeThrough(kFrameStartByte);
            ring.startScanAtReadPos();
            c.checkSum = 0;
            if (found) store(c, kFrameStartByte);
            continue;
        }
        if (shape.headerValid && c.frameIndex == shape.headerSize &&
            !shape.headerValid(c.frameBuffer.data())) {
            ++c.wrongHeaders;
            rejectCandidate(ring, c);
            continue;
        }
        const int checksumAt = checksumIndex(c, shape);
        if (c.frameIndex > settledAfter && c.frameIndex < checksumAt) {
            // Plain frame bytes up to the checksum position (or the 256 limit).
            const int stop = checksumAt < 256 ? checksumAt : 256;
            std::uint8_t* into = c.frameBuffer.data() + c.frameIndex;
            const std::size_t got =
                ring.ringPeekRun(into, static_cast<std::size_t>(stop - c.frameIndex));
            for (std::size_t i = 0; i < got; ++i) c.checkSum += into[i];
            c.frameIndex = static_cast<std::int16_t>(c.frameIndex + got);
            if (c.frameIndex > 255) c.frameIndex = 0;
            continue;
        }
        const std::uint8_t byte = ring.ringPeek();
        if (c.frameIndex == shape.sumStartIndex) {
            c.checkSum = 0;  // bytes before the summed run do not count
        } else if (c.frameIndex == checksumAt) {
            if (byte == (c.checkSum & 0xFF)) {
                c.frameIndex = 0;
                ring.clsChar(ring.ringScanPos());
                frameComplete = 1;
                return;
            }
            ++c.wrongChecksums;
            rejectCandidate(ring, c);
            continue;
        }
        store(c, byte);
    }
}

int acceptedFrameLength(const FrameCollector& c, const FrameShape& shape) {
    return checksumIndex(c, shape) + 1;
}

}  // namespace mb
