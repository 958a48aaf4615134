#include "cj188/TransmitFrame.h"

#include <algorithm>
#include <span>

#include "serial/HexText.h"

namespace mb {
namespace {

// Value of an upper-case hex digit, or -1.
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char ToUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string FramePaneText(const TxBuffer& tx, int lastIndex) {
    if (lastIndex < 0) return {};
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(lastIndex) + 1, tx.size());
    return HexEcho(std::span<const std::uint8_t>(tx.data(), count));
}

std::vector<std::uint8_t> PaneTextToBytes(std::string_view paneText) {
    std::string digits;
    digits.reserve(paneText.size());
    for (char c : paneText) {
        if (c == ' ') continue;
        const char upper = ToUpperAscii(c);
        if (HexValue(upper) < 0) break;  // the leading hex run ends here
        digits.push_back(upper);
    }
    std::vector<std::uint8_t> bytes(digits.size() / 2);  // an odd last digit is dropped
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        bytes[k] =
            static_cast<std::uint8_t>(HexValue(digits[2 * k]) * 16 + HexValue(digits[2 * k + 1]));
    }
    return bytes;
}

}  // namespace mb
