#include "mbus/MbusLongFrameParser.h"

namespace mb {

bool mbusLongHeaderValid(const std::uint8_t* header) {
    constexpr std::uint8_t kShortestLength = 3;  // C, A, CI
    return header[1] == header[2] && header[1] >= kShortestLength && header[3] == kFrameStartByte;
}

void parseMbusLongFrame(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& frameComplete) {
    collectFrame(ring, collector, kMbusLongFrameShape, frameComplete);
}

}  // namespace mb
