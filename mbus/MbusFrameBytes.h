// The bytes that frame an M-Bus telegram (EN 13757-2): the single-character
// acknowledgement, the short frame 10 C A CS 16 and the long frame
// 68 L L 68 C A CI ... CS 16. The decoder, the protocol's frame check and
// the request builder share them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mb::mbusframe {

inline constexpr std::uint8_t kAck = 0xE5;
inline constexpr std::uint8_t kShortStart = 0x10;
inline constexpr std::uint8_t kLongStart = 0x68;
inline constexpr std::uint8_t kStop = 0x16;
inline constexpr std::size_t kShortFrameBytes = 5;

}  // namespace mb::mbusframe
