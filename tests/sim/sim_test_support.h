// Helpers for the virtual meter's tests: hex literals and the frame checks a
// receiving program applies (start byte, length, checksum), written apart
// from the meter's own code so that the two can disagree.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"
#include "tools/sim/bytes.h"

namespace mb::sim::test {

inline Bytes hex(const std::string& text) {
    auto bytes = fromHex(text);
    EXPECT_TRUE(bytes.has_value()) << "bad hex literal: " << text;
    return bytes.value_or(Bytes{});
}

// Index of the first 68 after any wake-up bytes FE, or nullopt.
inline std::optional<std::size_t> afterWakeUp(const Bytes& reply) {
    std::size_t i = 0;
    while (i < reply.size() && reply[i] == 0xFE) ++i;
    if (i < reply.size() && reply[i] == 0x68) return i;
    return std::nullopt;
}

// A CJ188 frame: 68 at s, L at s+10, CS at s+L+11 over s..s+L+10, 16 after it.
inline bool isGoodCj188(const Bytes& b, std::size_t s = 0) {
    if (b.size() < s + 13 || b[s] != 0x68) return false;
    const std::size_t length = b[s + 10];
    if (b.size() != s + length + 13) return false;
    unsigned sum = 0;
    for (std::size_t i = s; i <= s + length + 10; ++i) sum += b[i];
    return b[s + length + 11] == (sum & 0xFF) && b.back() == 0x16;
}

// An M-Bus long frame: 68 L L 68, CS at L+4 over 4..L+3, 16 after it.
inline bool isGoodMbusLong(const Bytes& b) {
    if (b.size() < 9 || b[0] != 0x68 || b[3] != 0x68 || b[1] != b[2]) return false;
    const std::size_t length = b[1];
    if (b.size() != length + 6) return false;
    unsigned sum = 0;
    for (std::size_t i = 4; i < length + 4; ++i) sum += b[i];
    return b[length + 4] == (sum & 0xFF) && b.back() == 0x16;
}

using mb::test::RealFramesDir;

// A frame file of the shared real-frame folder, or nullopt (the caller reports
// the folder missing with MB_REAL_FRAMES_MISSING).
inline std::optional<Bytes> realFrame(const std::string& relative) {
    std::ifstream in(RealFramesDir() + "/" + relative);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    return fromHex(text.str());
}

}  // namespace mb::sim::test
