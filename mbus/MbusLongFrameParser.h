// The M-Bus long-frame parser: 68 L L 68 at [0..3] with L >= 3 (C, A and CI
// at least), CS at [L+4] = sum [4..L+3]. A start whose header is not of that
// form is rejected at once and hunting resumes at the byte after it, so bytes
// of another protocol's reply left in the ring cannot swallow the real one.
#pragma once

#include <cstdint>

#include "core/FrameCollector.h"

namespace mb {

bool mbusLongHeaderValid(const std::uint8_t* header);

inline constexpr FrameShape kMbusLongFrameShape{2, 4, 4, &mbusLongHeaderValid, 4};

void parseMbusLongFrame(ReceiveRing& ring, FrameCollector& collector, std::uint8_t& frameComplete);

}  // namespace mb
