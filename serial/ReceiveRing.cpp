#include "serial/ReceiveRing.h"

#include <algorithm>

#include "serial/HexText.h"

namespace mb {

void ReceiveRing::RingFill(std::span<const std::uint8_t> bytes, std::string* echo) {
    if (bytes.empty()) return;
    if (echo != nullptr) AppendHexEcho(*echo, bytes);
    // Copy in runs up to the end of the cells; no check against the read
    // positions: unread bytes are overwritten once more than 2049 arrive.
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t room = static_cast<std::size_t>(kCellCount - writePos_);
        const std::size_t run = std::min(room, bytes.size() - done);
        std::copy_n(bytes.data() + done, run, cells_.begin() + writePos_);
        done += run;
        writePos_ = static_cast<std::int16_t>(writePos_ + run);
        if (writePos_ > kLastCell) writePos_ = 0;
    }
    hasData_ = 1;
}

void ReceiveRing::ClsChar(std::int16_t target) {
    if (readPos_ == target) return;
    for (;;) {
        cells_[static_cast<std::size_t>(readPos_)] = 0;
        readPos_ = Next(readPos_);
        if (readPos_ == writePos_) {
            hasData_ = 0;
            return;
        }
        if (readPos_ == target) return;
    }
}

}  // namespace mb
