#include "cj188/Cj188ReplyParser.h"

namespace mb {

void parseCj188Reply(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& frameComplete) {
    collectFrame(ring, collector, kCj188ReplyShape, frameComplete);
}

}  // namespace mb
