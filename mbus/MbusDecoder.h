// Decodes one whole M-Bus frame into a Reading: the single character E5, short
// frames (10 C A CS 16) and long/control frames (68 L L 68 C A CI ... CS 16)
// with their application data.
#pragma once

#include <cstdint>
#include <span>

#include "core/Reading.h"

namespace mb {

// checkPassed: start byte(s), both L, the second 68, the checksum and the stop
// byte are right and the frame is exactly as long as L says. When a check
// fails, `error` says which and header and records stay empty.
Reading decodeMbusFrame(std::span<const std::uint8_t> frame);

}  // namespace mb
