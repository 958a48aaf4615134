#include "cj188/Cj188Protocol.h"

#include <algorithm>

#include "cj188/Cj188Decoder.h"
#include "cj188/Cj188FrameBytes.h"

namespace mb {
namespace {

using namespace cj188frame;
constexpr std::uint8_t kFromMeter = 0x80;
constexpr std::uint8_t kErrorAnswer = 0x40;

// Write data, write address, write the synchronised reading: answered without data.
bool isWrite(std::uint8_t control) {
    return control == 0x04 || control == 0x15 || control == 0x16;
}

std::span<const std::uint8_t> withoutWakeUp(std::span<const std::uint8_t> bytes) {
    const auto start = std::find_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != kWakeUp; });
    return bytes.subspan(static_cast<std::size_t>(start - bytes.begin()));
}

// "78330000000000": A6 first, as printed on the plate.
std::string plate(std::span<const std::uint8_t> address) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = address.size(); i-- > 0;) {
        text += digits[address[i] >> 4];
        text += digits[address[i] & 0xF];
    }
    return text;
}

class Cj188Protocol final : public Protocol {
  public:
    std::string_view name() const override { return "cj188"; }
    bool isPreamble(std::uint8_t byte) const override { return byte == kWakeUp; }
    bool mayStartFrame(std::uint8_t byte) const override { return byte == kStart; }

    FrameCheck checkFrame(std::span<const std::uint8_t> b) const override {
        if (b.empty() || b[0] != kStart) return FrameCheck::notAFrame("no frame start");
        if (b.size() <= kLengthAt) return FrameCheck::needMore();
        const std::size_t checksumAt = kLengthAt + 1 + b[kLengthAt];
        if (b.size() < checksumAt + 2) return FrameCheck::needMore();
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i < checksumAt; ++i) sum = static_cast<std::uint8_t>(sum + b[i]);
        if (sum != b[checksumAt]) return FrameCheck::notAFrame("checksum wrong");
        if (b[checksumAt + 1] != kStop) return FrameCheck::notAFrame("stop byte wrong");
        return FrameCheck::whole(checksumAt + 2);
    }

    // Start, length and checksum make a frame an answer, whatever its address
    // or type; the meter's error answer and a write's own answer are told apart.
    AnswerKind classify(std::span<const std::uint8_t> frame,
                        std::span<const std::uint8_t> request) const override {
        const std::uint8_t control = frame[kControlAt];
        if ((control & (kFromMeter | kErrorAnswer)) == (kFromMeter | kErrorAnswer))
            return AnswerKind::MeterError;
        const auto asked = withoutWakeUp(request);
        if (asked.size() > kControlAt && isWrite(asked[kControlAt]) &&
            control == (asked[kControlAt] | kFromMeter))
            return AnswerKind::Acknowledge;
        return AnswerKind::Answer;
    }

    std::optional<std::string> otherAddress(std::span<const std::uint8_t> frame,
                                            std::span<const std::uint8_t> request) const override {
        const auto asked = withoutWakeUp(request);
        if (asked.size() <= kLengthAt || frame.size() <= kLengthAt) return std::nullopt;
        const auto want = asked.subspan(kAddressAt, 7);
        const auto got = frame.subspan(kAddressAt, 7);
        for (std::size_t i = 0; i < 7; ++i) {
            if (want[i] != kWildcard && want[i] != got[i])
                return "Answered by address " + plate(got) + " (asked " + plate(want) + ")";
        }
        return std::nullopt;
    }

    Reading decode(std::span<const std::uint8_t> frame) const override {
        return decodeCj188Frame(frame);
    }

    // Four wake-up bytes, 68 T A0..A6 C L, 255 data bytes, CS and 16.
    std::size_t longestAnswerBytes() const override { return 4 + 11 + 255 + 2; }
};

}  // namespace

const Protocol& cj188Protocol() {
    static const Cj188Protocol protocol;
    return protocol;
}

}  // namespace mb
