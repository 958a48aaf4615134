// Where frames begin and end in the bytes read from a line. Judges only the
// shape (start byte, length, stop byte); the decoders judge the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace mb::cli {

enum class FrameKind { Mbus, Cj188, Either };

// At `at`: a whole frame of `length` bytes, too few bytes yet to tell, or no
// frame starting here.
struct FrameMatch {
    enum State { Complete, Incomplete, None } state = None;
    std::size_t length = 0;
};

FrameMatch matchFrameAt(std::span<const std::uint8_t> bytes, std::size_t at, FrameKind kind);

// The longest frame on the line: an M-Bus long frame of L = 255.
inline constexpr int kLongestFrameBytes = 261;

}  // namespace mb::cli
