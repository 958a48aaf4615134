#include "cj188/Cj188FieldRequests.h"

#include <algorithm>

#include "cj188/Cj188Requests.h"
#include "core/HexText.h"
#include "core/TextChars.h"

namespace mb {
namespace {

constexpr std::size_t kTypeIndex = 4;
constexpr std::size_t kAddressIndex = 5;

std::optional<int> hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

// The byte a field piece gives, or the one the buffer holds when it gives none.
std::uint8_t pieceOr(std::string_view piece, std::uint8_t held) {
    return hexPairToByte(piece).value_or(held);
}

int place(TxBuffer& tx, const std::vector<std::uint8_t>& frame) {
    std::copy(frame.begin(), frame.end(), tx.begin());
    return static_cast<int>(frame.size()) - 1;
}

}  // namespace

std::optional<std::uint8_t> meterTypeByte(std::string_view meterType) {
    // Typed as a byte: one or two hex digits, " - " before and H after optional.
    std::string_view text = trimBlanks(meterType);
    if (!text.empty() && text.front() == '-') text = trimBlanks(text.substr(1));
    if (!text.empty() && (text.back() == 'H' || text.back() == 'h')) text.remove_suffix(1);
    if (!text.empty() && text.size() <= 2) {
        int value = 0;
        bool hex = true;
        for (char c : text) {
            const std::optional<int> digit = hexDigitValue(c);
            hex = hex && digit.has_value();
            value = value * 16 + digit.value_or(0);
        }
        if (hex) return static_cast<std::uint8_t>(value);
    }
    // Otherwise characters 4 and 5 after whatever comes first (an en dash, say).
    const std::string_view pair = charMid(meterType, 4, 2);
    // Two hex digits are two ASCII characters, exactly two bytes.
    if (pair.size() != 2) return std::nullopt;
    const std::optional<int> high = hexDigitValue(pair[0]);
    const std::optional<int> low = hexDigitValue(pair[1]);
    if (!high || !low) return std::nullopt;
    return static_cast<std::uint8_t>(*high * 16 + *low);
}

int buildCj188ReadData(TxBuffer& tx, const Cj188Fields& fields) {
    const std::uint8_t type = meterTypeByte(fields.meterType).value_or(tx[kTypeIndex]);
    Cj188Address address{};
    // Ten digits d1..d10 go least significant pair first: A0 = d9 d10 ... A4 = d1 d2.
    const std::string number = padText(trimBlanks(fields.deviceId), 10, "L");
    for (std::size_t k = 0; k < 5; ++k)
        address[k] = pieceOr(charMid(number, 9 - 2 * k, 2), tx[kAddressIndex + k]);
    address[5] = pieceOr(padText(trimBlanks(fields.vendorCodeLow), 2, "L"), tx[kAddressIndex + 5]);
    address[6] = pieceOr(padText(trimBlanks(fields.vendorCodeHigh), 2, "L"), tx[kAddressIndex + 6]);
    return place(tx, cj188ReadData(type, address));
}

int buildCj188ReadId(TxBuffer& tx, std::string_view meterType) {
    const std::uint8_t type = meterTypeByte(meterType).value_or(tx[kTypeIndex]);
    return place(tx, cj188ReadAddress(type));
}

}  // namespace mb
