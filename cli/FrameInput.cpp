#include "cli/FrameInput.h"

#include <algorithm>
#include <array>

#include "cj188/Cj188Decoder.h"
#include "core/CountText.h"
#include "core/HexText.h"
#include "mbus/MbusDecoder.h"

namespace mb::cli {

namespace {

// 0..15 for a hex digit, 16 for white space, 17 for anything else.
constexpr std::array<std::uint8_t, 256> kHexClass = [] {
    std::array<std::uint8_t, 256> table{};
    for (auto& c : table) c = 17;
    for (int c = 0; c < 10; ++c) table['0' + c] = static_cast<std::uint8_t>(c);
    for (int c = 0; c < 6; ++c) table['A' + c] = table['a' + c] = static_cast<std::uint8_t>(10 + c);
    for (char c : {' ', '\t', '\n', '\v', '\f', '\r'}) table[static_cast<unsigned char>(c)] = 16;
    return table;
}();

}  // namespace

bool parseHexText(std::string_view text, Bytes& bytes) {
    bytes.clear();
    int pending = -1;
    for (char c : text) {
        const unsigned digit = kHexClass[static_cast<unsigned char>(c)];
        if (digit == 16) continue;
        if (digit > 16) return false;
        if (pending < 0) {
            pending = static_cast<int>(digit);
        } else {
            bytes.push_back(static_cast<std::uint8_t>(pending << 4 | static_cast<int>(digit)));
            pending = -1;
        }
    }
    return pending < 0;
}

std::optional<Bytes> parseHexText(std::string_view text) {
    Bytes bytes;
    if (!parseHexText(text, bytes)) return std::nullopt;
    return bytes;
}

Protocol detectProtocol(std::span<const std::uint8_t> frame) {
    std::size_t start = 0;
    while (start < frame.size() && frame[start] == 0xFE) ++start;
    const auto f = frame.subspan(start);
    if (f.empty()) return Protocol::Unknown;
    if (start == 0 && (f[0] == 0xE5 || f[0] == 0x10)) return Protocol::Mbus;
    if (f[0] != 0x68) return Protocol::Unknown;
    if (start == 0 && f.size() >= 4 && f[1] == f[2] && f[3] == 0x68 && f.size() == f[1] + 6u)
        return Protocol::Mbus;
    return Protocol::Cj188;
}

bool hasFrameLength(std::span<const std::uint8_t> frame) {
    const Protocol protocol = detectProtocol(frame);
    if (protocol == Protocol::Mbus) {
        if (frame[0] == 0xE5) return frame.size() == 1;
        if (frame[0] == 0x10) return frame.size() == 5;
        return true;  // detectProtocol checked L+6 already
    }
    if (protocol != Protocol::Cj188) return false;
    std::size_t start = 0;
    while (frame[start] == 0xFE) ++start;
    return frame.size() - start >= 11 && frame.size() - start == frame[start + 10] + 13u;
}

Reading decodeAnyFrame(std::span<const std::uint8_t> frame) {
    switch (detectProtocol(frame)) {
        case Protocol::Mbus: return decodeMbusFrame(frame);
        case Protocol::Cj188: return decodeCj188Frame(frame);
        case Protocol::Unknown: break;
    }
    Reading reading;
    reading.error = frame.empty() ? "no bytes" : "not an M-Bus or CJ/T 188 frame";
    return reading;
}

namespace {

bool passes(const Reading& r) { return r.checkPassed && r.error.empty(); }

// Only these bytes begin a frame (FE: CJ/T 188 wake-up bytes).
bool mayStartFrame(std::uint8_t b) { return b == 0x68 || b == 0x10 || b == 0xE5 || b == 0xFE; }

// True when a whole frame that passes lies inside `bytes`: then they are
// frames (two acknowledgements, say), not noise before one. Each start byte
// gives the frame's length (E5: 1, 10: 5, 68 L L 68: L+6, CJ/T 188: L+13).
bool holdsAFrame(std::span<const std::uint8_t> bytes) {
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto rest = bytes.subspan(at);
        std::size_t lengths[2] = {0, 0};
        if (rest[0] == 0xE5) lengths[0] = 1;
        if (rest[0] == 0x10) lengths[0] = 5;
        if (rest[0] == 0x68 && rest.size() > 1) lengths[0] = rest[1] + 6u;
        if (rest[0] == 0x68 && rest.size() > 10) lengths[1] = rest[10] + 13u;
        for (std::size_t length : lengths) {
            if (length != 0 && length <= rest.size() && passes(decodeAnyFrame(rest.first(length)))) return true;
        }
    }
    return false;
}

}  // namespace

DecodedInput decodeAfterStrayBytes(std::span<const std::uint8_t> input) {
    DecodedInput whole{0, decodeAnyFrame(input)};
    if (passes(whole.reading)) return whole;
    for (std::size_t at = 1; at < input.size(); ++at) {
        if (!mayStartFrame(input[at])) continue;
        Reading tail = decodeAnyFrame(input.subspan(at));
        if (!passes(tail)) continue;
        if (holdsAFrame(input.first(at))) break;
        return {at, std::move(tail)};
    }
    return whole;
}

std::string strayBytesText(std::span<const std::uint8_t> input, std::size_t skipped) {
    constexpr std::size_t kShown = 16;
    std::string text = "skipped " + countText(skipped, "stray byte") + " (";
    appendHexBytes(text, input.first(std::min({skipped, kShown, input.size()})));
    if (skipped > kShown) text += " ...";
    return text + ") before the frame";
}

}  // namespace mb::cli
