#include "mbus/MbusProtocol.h"

#include <string>

#include "mbus/MbusDecoder.h"
#include "mbus/MbusFrameBytes.h"

namespace mb {
namespace {

using namespace mbusframe;
constexpr std::uint8_t kShortestLength = 3;         // C, A, CI
constexpr std::uint8_t kFirstSharedAddress = 253;   // 253 selected, 254 any, 255 broadcast

FrameCheck sumAndStop(std::span<const std::uint8_t> b, std::size_t first, std::size_t checksumAt) {
    std::uint8_t sum = 0;
    for (std::size_t i = first; i < checksumAt; ++i) sum = static_cast<std::uint8_t>(sum + b[i]);
    if (sum != b[checksumAt]) return FrameCheck::notAFrame("checksum wrong");
    if (b[checksumAt + 1] != kStop) return FrameCheck::notAFrame("stop byte wrong");
    return FrameCheck::whole(checksumAt + 2);
}

// The C and A fields' positions: short frames carry them at 1 and 2, long at 4 and 5.
std::size_t controlIndex(std::span<const std::uint8_t> frame) {
    return frame[0] == kShortStart ? 1 : 4;
}

class MbusProtocol final : public Protocol {
  public:
    std::string_view name() const override { return "mbus"; }
    bool isPreamble(std::uint8_t) const override { return false; }
    bool mayStartFrame(std::uint8_t b) const override {
        return b == kAck || b == kShortStart || b == kLongStart;
    }

    FrameCheck checkFrame(std::span<const std::uint8_t> b) const override {
        if (b.empty()) return FrameCheck::needMore();
        switch (b[0]) {
            case kAck: return FrameCheck::whole(1);
            case kShortStart:
                if (b.size() < kShortFrameBytes) return FrameCheck::needMore();
                return sumAndStop(b, 1, 3);
            case kLongStart: {
                if (b.size() < 4) return FrameCheck::needMore();
                if (b[1] != b[2] || b[3] != kLongStart || b[1] < kShortestLength)
                    return FrameCheck::notAFrame("no valid frame header");
                const std::size_t checksumAt = 4u + b[1];
                if (b.size() < checksumAt + 2) return FrameCheck::needMore();
                return sumAndStop(b, 4, checksumAt);
            }
            default: return FrameCheck::notAFrame("no frame start");
        }
    }

    // A read is answered with a long frame, whatever its address; a write with
    // E5. A short frame answers nothing (it is a master's request).
    AnswerKind classify(std::span<const std::uint8_t> frame,
                        std::span<const std::uint8_t>) const override {
        if (frame.size() == 1) return AnswerKind::Acknowledge;
        if (frame[0] == kShortStart) return AnswerKind::NotAnAnswer;
        return AnswerKind::Answer;
    }

    std::optional<std::string> otherAddress(std::span<const std::uint8_t> frame,
                                            std::span<const std::uint8_t> request) const override {
        const std::optional<std::uint8_t> asked = mbusRequestAddress(request);
        if (!asked || *asked >= kFirstSharedAddress || frame.size() < kShortFrameBytes)
            return std::nullopt;
        const std::uint8_t answered = frame[controlIndex(frame) + 1];
        if (answered == *asked) return std::nullopt;
        return "Answered by primary address " + std::to_string(answered) + " (asked " +
               std::to_string(*asked) + ")";
    }

    Reading decode(std::span<const std::uint8_t> frame) const override {
        return decodeMbusFrame(frame);
    }

    // 68 L L 68, the longest L (255 bytes of C, A, CI and data), CS and 16.
    std::size_t longestAnswerBytes() const override { return 4 + 255 + 2; }
};

}  // namespace

const Protocol& mbusProtocol() {
    static const MbusProtocol protocol;
    return protocol;
}

std::optional<std::uint8_t> mbusRequestAddress(std::span<const std::uint8_t> frame) {
    if (frame.size() >= kShortFrameBytes && frame[0] == kShortStart) return frame[2];
    if (frame.size() >= 6 && frame[0] == kLongStart) return frame[5];
    return std::nullopt;
}

}  // namespace mb
