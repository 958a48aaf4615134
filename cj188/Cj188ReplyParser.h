// The CJ/T 188 reply parser: 68 at [0], L at [10] (0..244), CS at [L+11] =
// sum [0..L+10]. An accepted frame is consumed from the ring and reported
// through frameComplete; a wrong checksum costs only the candidate's start byte.
#pragma once

#include <cstdint>

#include "core/FrameCollector.h"

namespace mb {

inline constexpr FrameShape kCj188ReplyShape{10, 11, 0, nullptr, 0};

void parseCj188Reply(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& frameComplete);

}  // namespace mb
