#include "cli/LineFrames.h"

namespace mb::cli {
namespace {

FrameMatch fixedLength(std::span<const std::uint8_t> b, std::size_t at, std::size_t length) {
    if (b.size() - at < length) return {FrameMatch::Incomplete, 0};
    if (b[at + length - 1] != 0x16) return {FrameMatch::None, 0};
    return {FrameMatch::Complete, length};
}

FrameMatch mbusAt(std::span<const std::uint8_t> b, std::size_t at) {
    const auto left = b.size() - at;
    switch (b[at]) {
        case 0xE5: return {FrameMatch::Complete, 1};
        case 0x10: return fixedLength(b, at, 5);
        case 0x68:
            if (left < 4) return {FrameMatch::Incomplete, 0};
            if (b[at + 1] != b[at + 2] || b[at + 3] != 0x68) return {FrameMatch::None, 0};
            return fixedLength(b, at, b[at + 1] + 6u);
        default: return {FrameMatch::None, 0};
    }
}

// 68 T A0..A6 C L data CS 16: L sits at index 10.
FrameMatch cj188At(std::span<const std::uint8_t> b, std::size_t at) {
    if (b[at] != 0x68) return {FrameMatch::None, 0};
    if (b.size() - at < 11) return {FrameMatch::Incomplete, 0};
    return fixedLength(b, at, b[at + 10] + 13u);
}

}  // namespace

FrameMatch matchFrameAt(std::span<const std::uint8_t> bytes, std::size_t at, FrameKind kind) {
    if (at >= bytes.size()) return {FrameMatch::Incomplete, 0};
    if (kind == FrameKind::Mbus) return mbusAt(bytes, at);
    if (kind == FrameKind::Cj188) return cj188At(bytes, at);
    // Either: a 68 that is no M-Bus long frame may still be CJ/T 188.
    const FrameMatch mbus = mbusAt(bytes, at);
    if (mbus.state != FrameMatch::None) return mbus;
    return cj188At(bytes, at);
}

}  // namespace mb::cli
