#include "cj188/Cj188Requests.h"

#include <cstdint>
#include <optional>

#include "core/HexText.h"
#include "core/TextChars.h"

namespace mb {
namespace {

// Places a byte derived from a field piece; a refused piece keeps what the
// buffer already holds at that index.
void placePiece(TxBuffer& tx, int index, std::string_view piece) {
    if (const std::optional<std::uint8_t> byte = hexPairToByte(piece)) {
        tx[static_cast<std::size_t>(index)] = *byte;
    }
}

void placeMeterType(TxBuffer& tx, std::string_view meterType) {
    if (const std::optional<std::uint8_t> type = meterTypeByte(meterType)) tx[4] = *type;
}

std::optional<int> hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

// Everything but T and the address: wake-up, start, C, L, DI, SER, CS, stop.
void placeFrame(TxBuffer& tx, std::uint8_t control, std::uint8_t di0, std::uint8_t di1) {
    tx[0] = tx[1] = tx[2] = 0xFE;
    tx[3] = 0x68;
    tx[12] = control;
    tx[13] = 0x03;
    tx[14] = di0;
    tx[15] = di1;
    tx[16] = 0x01;
    // The checksum is formed over the bytes as they stand, refused pieces included.
    std::uint32_t sum = 0;
    for (int i = 3; i <= 16; ++i) sum += tx[static_cast<std::size_t>(i)];
    tx[17] = static_cast<std::uint8_t>(sum & 0xFF);
    tx[18] = 0x16;
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
    placeMeterType(tx, fields.meterType);
    // Ten digits d1..d10 go least significant pair first: A0 = d9 d10 ... A4 = d1 d2.
    const std::string number = padText(trimBlanks(fields.deviceId), 10, "L");
    for (int k = 0; k < 5; ++k) {
        placePiece(tx, 5 + k, charMid(number, static_cast<std::size_t>(9 - 2 * k), 2));
    }
    placePiece(tx, 10, padText(trimBlanks(fields.vendorCodeLow), 2, "L"));
    placePiece(tx, 11, padText(trimBlanks(fields.vendorCodeHigh), 2, "L"));
    placeFrame(tx, 0x01, 0x1F, 0x90);
    return kCj188LastIndex;
}

int buildCj188ReadId(TxBuffer& tx, std::string_view meterType) {
    placeMeterType(tx, meterType);
    for (int i = 5; i <= 11; ++i) tx[static_cast<std::size_t>(i)] = 0xAA;
    placeFrame(tx, 0x03, 0x0A, 0x81);
    return kCj188LastIndex;
}

}  // namespace mb
