// Finds complete, checksum-correct request frames in a byte stream that may
// carry wake-up bytes, line noise, echoes and frames split over many reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/sim/bytes.h"

namespace mb::sim {

enum class FrameKind {
    Cj188,      // 68 T A0..A6 C L data CS 16
    MbusShort,  // 10 C A CS 16
    MbusLong,   // 68 L L 68 C A CI data CS 16
};

struct ScannedFrame {
    FrameKind kind;
    Bytes bytes;  // from the start byte to the stop byte
};

// Incremental scanner. Every start byte (68 or 10) in the recent input opens
// a candidate; the first candidate that completes with a correct checksum and
// stop byte wins, so a stray start byte or a truncated frame never hides a
// good frame that follows it. Bytes before the winner are dropped.
class RequestScanner {
  public:
    // Appends bytes and returns every frame they complete, in line order.
    std::vector<ScannedFrame> feed(const std::uint8_t* data, std::size_t size);
    std::vector<ScannedFrame> feed(const Bytes& bytes) { return feed(bytes.data(), bytes.size()); }

    // Bytes held for candidates that have not completed yet.
    std::size_t pending() const { return buffer_.size(); }

    // Longest frame either protocol can carry: a CJ188 frame with L = 255.
    static constexpr std::size_t kLongestFrame = 13 + 255;

  private:
    std::optional<ScannedFrame> frameEndingAtLast() const;
    std::optional<ScannedFrame> frameAt(std::size_t start, std::size_t end) const;

    Bytes buffer_;
};

}  // namespace mb::sim
