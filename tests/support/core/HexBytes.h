// Bytes from hex text written the way frames are printed ("68 03 03 68").
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace mb::test {

inline std::vector<std::uint8_t> HexBytes(std::string_view text) {
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        throw std::invalid_argument("not hex text");
    };
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\n') continue;
        if (high < 0) {
            high = value(c);
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + value(c)));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits");
    return bytes;
}

}  // namespace mb::test
