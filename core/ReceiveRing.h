// The receive ring: 2049 cells (0..2048) written by the receive path and read by
// the reply parsers through a consuming position and a look-ahead position.
// It keeps no fill count: more than 2049 unread bytes overwrite the oldest ones.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <span>
#include <string>

namespace mb {

class ReceiveRing {
  public:
    static constexpr std::int16_t kLastCell = 2048;
    static constexpr int kCellCount = kLastCell + 1;

    // Stores `bytes` in arrival order at ringWritePos (wrapping after cell 2048)
    // and sets ringHasData when at least one byte was stored. When `echo` is given,
    // appends "XX " for every byte, upper case, the last byte included.
    void ringFill(std::span<const std::uint8_t> bytes, std::string* echo = nullptr);

    // Consuming read at ringReadPos: returns the cell, zeroes it, advances, and
    // clears ringHasData when ringReadPos reaches ringWritePos. Does not test
    // ringHasData first; callers do.
    std::uint8_t ringTake() {
        const std::uint8_t byte = cells_[static_cast<std::size_t>(readPos_)];
        cells_[static_cast<std::size_t>(readPos_)] = 0;
        readPos_ = next(readPos_);
        if (readPos_ == writePos_) hasData_ = 0;
        return byte;
    }

    // Look-ahead read at ringScanPos: returns the cell unchanged, advances, and
    // clears ringHasData when ringScanPos reaches ringWritePos.
    std::uint8_t ringPeek() {
        const std::uint8_t byte = cells_[static_cast<std::size_t>(scanPos_)];
        scanPos_ = next(scanPos_);
        if (scanPos_ == writePos_) hasData_ = 0;
        return byte;
    }

    // Repeated ringTake until it has taken `wanted` or ringHasData drops to 0;
    // returns whether `wanted` was taken. Same effect on cells, positions and
    // flag as the byte-by-byte loop, done in runs. Call only with ringHasData set.
    bool ringTakeThrough(std::uint8_t wanted);

    // Repeated ringPeek into `out` while ringHasData, at most `max` bytes;
    // returns how many were read. Same effect as the byte-by-byte reads.
    std::size_t ringPeekRun(std::uint8_t* out, std::size_t max);

    // Consumes (zeroes) cells from ringReadPos up to, not including, `target`.
    // Never passes ringWritePos: reaching it clears ringHasData and stops.
    void clsChar(std::int16_t target);

    // Starts the look-ahead just after the byte ringTake returned last.
    void startScanAtReadPos() { scanPos_ = readPos_; }

    // A rejected candidate: the look-ahead may have reached the end of what
    // arrived and cleared ringHasData, yet the bytes after the candidate's start
    // are still unread. Marks them as data again so hunting goes on over them.
    void resumeAtReadPos() {
        scanPos_ = readPos_;
        if (readPos_ != writePos_) hasData_ = 1;
    }

    // Cells that hold bytes not yet consumed; the room a receive event may fill
    // without overwriting them is kCellCount - 1 - unreadCount().
    int unreadCount() const {
        return (writePos_ - readPos_ + kCellCount) % kCellCount;
    }

    std::int16_t ringWritePos() const { return writePos_; }
    std::int16_t ringReadPos() const { return readPos_; }
    std::int16_t ringScanPos() const { return scanPos_; }
    bool ringHasData() const { return hasData_ != 0; }
    // The byte in cell `index`; 0 for an index outside 0..2048.
    std::uint8_t cell(std::int16_t index) const {
        return index < 0 || index > kLastCell ? 0 : cells_[static_cast<std::size_t>(index)];
    }

    // Advances a position by one; after 2048 comes 0.
    static constexpr std::int16_t next(std::int16_t pos) {
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
