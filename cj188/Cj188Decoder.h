// Decodes one CJ/T 188 frame (leading FE wake-up bytes allowed) into a Reading:
// the header always when the frame holds one, the records only when start,
// length, checksum and stop byte are right.
#pragma once

#include <cstdint>
#include <span>

#include "core/Reading.h"

namespace mb {

Reading decodeCj188Frame(std::span<const std::uint8_t> frame);

}  // namespace mb
