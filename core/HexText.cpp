#include "core/HexText.h"

#include <array>

#include "core/TextChars.h"

namespace mb {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string padText(std::string_view text, int length, std::string_view side) {
    const std::size_t have = charCount(text);
    if (length <= 0 || have >= static_cast<std::size_t>(length)) return std::string(text);
    const std::string zeros(static_cast<std::size_t>(length) - have, '0');
    return side == "L" ? zeros + std::string(text) : std::string(text) + zeros;
}

std::optional<std::uint8_t> hexPairToByte(std::string_view pair) {
    if (charCount(pair) != 2) return std::uint8_t{0};
    // Two characters that are both ASCII digits are exactly two bytes long.
    if (pair.size() != 2 || !isDecimalDigit(pair[0]) || !isDecimalDigit(pair[1])) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>((pair[0] - '0') * 16 + (pair[1] - '0'));
}

void appendHexEcho(std::string& out, std::span<const std::uint8_t> bytes) {
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3);
    char* p = out.data() + start;
    for (std::uint8_t b : bytes) {
        p[0] = kHexDigits[b >> 4];
        p[1] = kHexDigits[b & 0x0F];
        p[2] = ' ';
        p += 3;
    }
}

void appendHexBytes(std::string& out, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return;
    appendHexEcho(out, bytes);
    out.pop_back();
}

std::string hexEcho(std::span<const std::uint8_t> bytes) {
    std::string out;
    appendHexEcho(out, bytes);
    return out;
}

}  // namespace mb
