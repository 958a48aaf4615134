// Decodes one CJ/T 188 frame (leading FE wake-up bytes allowed): the header
// always when the frame holds one, the records only when start, length,
// checksum and stop byte are right.
#pragma once

#include <cstdint>
#include <span>

#include "cj188/Cj188Values.h"
#include "core/Reading.h"

namespace mb {

// Decodes into `values`, reading `frame` in place: `values` points into it.
void decodeCj188Values(std::span<const std::uint8_t> frame, Cj188Values& values);

// The same as an owned Reading, texts and all: what the window and the
// session record keep.
Reading decodeCj188Frame(std::span<const std::uint8_t> frame);

}  // namespace mb
