// Decodes one whole M-Bus frame: the single character E5, short frames
// (10 C A CS 16) and long/control frames (68 L L 68 C A CI ... CS 16) with
// their application data.
#pragma once

#include <cstdint>
#include <span>

#include "core/Reading.h"
#include "mbus/MbusValues.h"

namespace mb {

// Decodes into `values` (its record buffer is reused), reading `frame` in
// place: `values` points into it. checkPassed: start byte(s), both L, the
// second 68, the checksum and the stop byte are right and the frame is
// exactly as long as L says. When a check fails, `problem` says which and
// there are no header fields and no records.
void decodeMbusValues(std::span<const std::uint8_t> frame, MbusValues& values);

// The same as an owned Reading, texts and all: what the window and the
// session record keep.
Reading decodeMbusFrame(std::span<const std::uint8_t> frame);

}  // namespace mb
