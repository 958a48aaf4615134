#include "core/PaneText.h"

#include <algorithm>
#include <span>

#include "core/HexText.h"

namespace mb {
namespace {

// Value of an upper-case hex digit, or -1.
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char toUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string framePaneText(const TxBuffer& tx, int lastIndex) {
    if (lastIndex < 0) return {};
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(lastIndex) + 1, tx.size());
    return hexEcho(std::span<const std::uint8_t>(tx.data(), count));
}

std::vector<std::uint8_t> paneTextToBytes(std::string_view paneText) {
    std::string digits;
    digits.reserve(paneText.size());
    for (char c : paneText) {
        if (c == ' ') continue;
        const char upper = toUpperAscii(c);
        if (hexValue(upper) < 0) break;  // the leading hex run ends here
        digits.push_back(upper);
    }
    std::vector<std::uint8_t> bytes(digits.size() / 2);  // an odd last digit is dropped
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        bytes[k] =
            static_cast<std::uint8_t>(hexValue(digits[2 * k]) * 16 + hexValue(digits[2 * k + 1]));
    }
    return bytes;
}

}  // namespace mb
