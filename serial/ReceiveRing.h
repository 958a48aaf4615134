// The receive ring: 2049 cells (0..2048) written by the receive path and read by
// the reply parsers through a consuming position and a look-ahead position.
// It keeps no fill count: more than 2049 unread bytes overwrite the oldest ones.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace mb {

class ReceiveRing {
  public:
    static constexpr std::int16_t kLastCell = 2048;
    static constexpr int kCellCount = kLastCell + 1;

    // Stores `bytes` in arrival order at RingWritePos (wrapping after cell 2048)
    // and sets RingHasData when at least one byte was stored. When `echo` is given,
    // appends "XX " for every byte, upper case, the last byte included.
    void RingFill(std::span<const std::uint8_t> bytes, std::string* echo = nullptr);

    // Consuming read at RingReadPos: returns the cell, zeroes it, advances, and
    // clears RingHasData when RingReadPos reaches RingWritePos. Does not test
    // RingHasData first; callers do.
    std::uint8_t RingTake() {
        const std::uint8_t byte = cells_[static_cast<std::size_t>(readPos_)];
        cells_[static_cast<std::size_t>(readPos_)] = 0;
        readPos_ = Next(readPos_);
        if (readPos_ == writePos_) hasData_ = 0;
        return byte;
    }

    // Look-ahead read at RingScanPos: returns the cell unchanged, advances, and
    // clears RingHasData when RingScanPos reaches RingWritePos.
    std::uint8_t RingPeek() {
        const std::uint8_t byte = cells_[static_cast<std::size_t>(scanPos_)];
        scanPos_ = Next(scanPos_);
        if (scanPos_ == writePos_) hasData_ = 0;
        return byte;
    }

    // Repeated RingTake until it has taken `wanted` or RingHasData drops to 0;
    // returns whether `wanted` was taken. Same effect on cells, positions and
    // flag as the byte-by-byte loop, done in runs. Call only with RingHasData set.
    bool RingTakeThrough(std::uint8_t wanted);

    // Repeated RingPeek into `out` while RingHasData, at most `max` bytes;
    // returns how many were read. Same effect as the byte-by-byte reads.
    std::size_t RingPeekRun(std::uint8_t* out, std::size_t max);

    // Consumes (zeroes) cells from RingReadPos up to, not including, `target`.
    // Never passes RingWritePos: reaching it clears RingHasData and stops.
    void ClsChar(std::int16_t target);

    // Starts the look-ahead just after the byte RingTake returned last.
    void StartScanAtReadPos() { scanPos_ = readPos_; }

    std::int16_t RingWritePos() const { return writePos_; }
    std::int16_t RingReadPos() const { return readPos_; }
    std::int16_t RingScanPos() const { return scanPos_; }
    bool RingHasData() const { return hasData_ != 0; }
    // The byte in cell `index`; 0 for an index outside 0..2048.
    std::uint8_t Cell(std::int16_t index) const {
        return index < 0 || index > kLastCell ? 0 : cells_[static_cast<std::size_t>(index)];
    }

    // Advances a position by one; after 2048 comes 0.
    static constexpr std::int16_t Next(std::int16_t pos) {
        return pos >= kLastCell ? std::int16_t{0} : static_cast<std::int16_t>(pos + 1);
    }

  private:
    std::array<std::uint8_t, kCellCount> cells_{};
    std::int16_t writePos_ = 0;
    std::int16_t readPos_ = 0;
    std::int16_t scanPos_ = 0;
    std::uint8_t hasData_ = 0;
};

}  // namespace mb
