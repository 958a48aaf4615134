#include "en1434/FrameParsers.h"

namespace mb {
namespace {

enum class Shape { Cj188, MbusLong };

constexpr std::uint8_t kStartByte = 0x68;

// Index of the checksum byte, from the length byte the buffer holds now. Until
// the current candidate's length byte is stored this reads an earlier
// candidate's value, which still lies beyond the current index.
template <Shape shape>
int ChecksumIndex(const FrameCollector& c) {
    if constexpr (shape == Shape::Cj188) {
        return c.FrameBuffer[10] + 11;
    } else {
        return c.FrameBuffer[2] + 4;
    }
}

// Index after which the checksum position no longer changes: the length byte
// is stored, and for M-Bus the sum has restarted at index 4.
template <Shape shape>
constexpr int kLengthSettledAfter = shape == Shape::Cj188 ? 10 : 4;

void Store(FrameCollector& c, std::uint8_t byte) {
    c.FrameBuffer[static_cast<std::size_t>(c.FrameIndex)] = byte;
    c.CheckSum += byte;
    if (++c.FrameIndex > 255) c.FrameIndex = 0;  // too long: give up this start
}

template <Shape shape>
void Parse(ReceiveRing& ring, FrameCollector& c, std::uint8_t& frameComplete) {
    while (ring.RingHasData() && frameComplete == 0) {
        if (c.FrameIndex == 0) {
            // Hunting: every byte up to the next start byte is consumed and
            // dropped; a candidate's look-ahead starts just after its start byte.
            const bool found = ring.RingTakeThrough(kStartByte);
            ring.StartScanAtReadPos();
            c.CheckSum = 0;
            if (found) Store(c, kStartByte);
            continue;
        }
        const int checksumIndex = ChecksumIndex<shape>(c);
        if (c.FrameIndex > kLengthSettledAfter<shape> && c.FrameIndex < checksumIndex) {
            // Plain frame bytes up to the checksum position (or the 256 limit).
            const int stop = checksumIndex < 256 ? checksumIndex : 256;
            std::uint8_t* into = c.FrameBuffer.data() + c.FrameIndex;
            const std::size_t got =
                ring.RingPeekRun(into, static_cast<std::size_t>(stop - c.FrameIndex));
            for (std::size_t i = 0; i < got; ++i) c.CheckSum += into[i];
            c.FrameIndex = static_cast<std::int16_t>(c.FrameIndex + got);
            if (c.FrameIndex > 255) c.FrameIndex = 0;
            continue;
        }
        const std::uint8_t byte = ring.RingPeek();
        if (shape == Shape::MbusLong && c.FrameIndex == 4) {
            c.CheckSum = 0;  // the M-Bus sum starts again at the C field
        } else if (c.FrameIndex == checksumIndex) {
            c.FrameIndex = 0;
            if (byte == (c.CheckSum & 0xFF)) {
                ring.ClsChar(ring.RingScanPos());
                frameComplete = 1;
                return;
            }
            // Mismatch: hunting resumes at the byte after the rejected start.
            continue;
        }
        Store(c, byte);
    }
}

}  // namespace

void ParseCj188Reply(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& FrameComplete) {
    Parse<Shape::Cj188>(ring, collector, FrameComplete);
}

void ParseMbusLongFrame(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& FrameComplete) {
    Parse<Shape::MbusLong>(ring, collector, FrameComplete);
}

}  // namespace mb
