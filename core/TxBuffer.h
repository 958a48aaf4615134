// The buffer every request is built in. 257 bytes, never cleared: an index keeps
// its last value until a request writes it again.
#pragma once

#include <array>
#include <cstdint>

namespace mb {

inline constexpr int kTxBufferSize = 257;
using TxBuffer = std::array<std::uint8_t, kTxBufferSize>;

}  // namespace mb
