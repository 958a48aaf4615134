// The pure steps of the send sequence shared by every request: the pane text of
// a frame, and the read-back of a pane's text into the bytes that are written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/TxBuffer.h"

namespace mb {

// "XX " for each of tx[0..lastIndex], upper case, the last byte included.
// lastIndex is clamped to the buffer; a negative value gives an empty text.
std::string framePaneText(const TxBuffer& tx, int lastIndex);

// Reads a "Transmitted Data" pane back into bytes: every blank removed, upper
// case, the longest leading run of 0-9/A-F, its last character dropped when the
// run is odd, then one byte per hex pair. These bytes, not TxBuffer, are sent.
std::vector<std::uint8_t> paneTextToBytes(std::string_view paneText);

}  // namespace mb
