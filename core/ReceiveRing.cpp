#include "core/ReceiveRing.h"

#include <algorithm>
#include <cstring>

#include "core/HexText.h"

namespace mb {

void ReceiveRing::ringFill(std::span<const std::uint8_t> bytes, std::string* echo) {
    if (bytes.empty()) return;
    if (echo != nullptr) appendHexEcho(*echo, bytes);
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

bool ReceiveRing::ringTakeThrough(std::uint8_t wanted) {
    for (;;) {
        // The unread run from ringReadPos ends at ringWritePos or at the last cell.
        const std::size_t from = static_cast<std::size_t>(readPos_);
        const std::size_t end = writePos_ > readPos_ ? static_cast<std::size_t>(writePos_)
                                                     : static_cast<std::size_t>(kCellCount);
        std::uint8_t* run = cells_.data() + from;
        const auto* hit = static_cast<std::uint8_t*>(std::memchr(run, wanted, end - from));
        const std::size_t taken =
            hit != nullptr ? static_cast<std::size_t>(hit - run) + 1 : end - from;
        std::memset(run, 0, taken);
        readPos_ = static_cast<std::int16_t>(from + taken > kLastCell ? 0 : from + taken);
        if (readPos_ == writePos_) hasData_ = 0;
        if (hit != nullptr) return true;
        if (hasData_ == 0) return false;
    }
}

std::size_t ReceiveRing::ringPeekRun(std::uint8_t* out, std::size_t max) {
    std::size_t done = 0;
    while (done < max && hasData_ != 0) {
        const std::size_t from = static_cast<std::size_t>(scanPos_);
        const std::size_t end = writePos_ > scanPos_ ? static_cast<std::size_t>(writePos_)
                                                     : static_cast<std::size_t>(kCellCount);
        const std::size_t n = std::min(max - done, end - from);
        std::memcpy(out + done, cells_.data() + from, n);
        done += n;
        scanPos_ = static_cast<std::int16_t>(from + n > kLastCell ? 0 : from + n);
        if (scanPos_ == writePos_) hasData_ = 0;
    }
    return done;
}

void ReceiveRing::clsChar(std::int16_t target) {
    if (readPos_ == target) return;
    for (;;) {
        cells_[static_cast<std::size_t>(readPos_)] = 0;
        readPos_ = next(readPos_);
        if (readPos_ == writePos_) {
            hasData_ = 0;
            return;
        }
        if (readPos_ == target) return;
    }
}

}  // namespace mb
