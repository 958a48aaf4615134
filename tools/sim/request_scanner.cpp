#include "tools/sim/request_scanner.h"

namespace mb::sim {

std::vector<ScannedFrame> RequestScanner::feed(const std::uint8_t* data, std::size_t size) {
    std::vector<ScannedFrame> frames;
    for (std::size_t i = 0; i < size; ++i) {
        buffer_.push_back(data[i]);
        if (auto frame = frameEndingAtLast()) {
            frames.push_back(std::move(*frame));
            buffer_.clear();
            continue;
        }
        // Nothing older than the longest frame can still complete.
        if (buffer_.size() > 2 * kLongestFrame)
            buffer_.erase(buffer_.begin(), buffer_.end() - kLongestFrame);
    }
    return frames;
}

std::optional<ScannedFrame> RequestScanner::frameEndingAtLast() const {
    const std::size_t end = buffer_.size() - 1;
    if (buffer_[end] != 0x16) return std::nullopt;
    // Shortest frame is the 5-byte short frame, so a start lies at least 4 back.
    const std::size_t first = end > kLongestFrame ? end - kLongestFrame : 0;
    for (std::size_t start = first; start + 4 <= end; ++start) {
        if (auto frame = frameAt(start, end)) return frame;
    }
    return std::nullopt;
}

std::optional<ScannedFrame> RequestScanner::frameAt(std::size_t start, std::size_t end) const {
    const Bytes& b = buffer_;
    const std::size_t size = end - start + 1;
    auto slice = [&] { return Bytes(b.begin() + start, b.begin() + end + 1); };

    if (b[start] == 0x10) {
        if (size == 5 && b[start + 3] == static_cast<std::uint8_t>(b[start + 1] + b[start + 2]))
            return ScannedFrame{FrameKind::MbusShort, slice()};
        return std::nullopt;
    }
    if (b[start] != 0x68) return std::nullopt;

    // M-Bus long frame: both length bytes equal, second start byte, sum from C on.
    if (size >= 9) {
        const std::size_t length = b[start + 1];
        if (length >= 3 && b[start + 2] == length && b[start + 3] == 0x68 && size == length + 6 &&
            b[end - 1] == sum8(b, start + 4, end - 1))
            return ScannedFrame{FrameKind::MbusLong, slice()};
    }
    // CJ188 frame: length at index 10, sum from the start byte on.
    if (size >= 13) {
        const std::size_t length = b[start + 10];
        if (size == length + 13 && b[end - 1] == sum8(b, start, end - 1))
            return ScannedFrame{FrameKind::Cj188, slice()};
    }
    return std::nullopt;
}

}  // namespace mb::sim
