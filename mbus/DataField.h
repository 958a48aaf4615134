// The data field of a data record: integers, reals, BCD and variable-length
// data as the DIF's data field code (and the LVAR byte) says. Numbers only:
// texts are read from the bytes again when a view shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace mb {

enum class DataCoding : std::uint8_t {
    None,     // no data (code 0, and the readout selection code 8)
    Integer,  // binary integer, signed in `integer`, unsigned in `bits`
    Bcd,      // BCD digits; `integer` signed, `bits` the magnitude
    Real,     // 32-bit real in `real`
    Text,     // LVAR characters
    Binary,   // LVAR bytes too long for a number
    BadBcd,   // a BCD field with a nibble above 9 (`badDigit`) below the top
};

struct DataValue {
    DataCoding coding = DataCoding::None;
    bool minus = false;        // Bcd: the digits carry a minus sign
    std::uint8_t badDigit = 0;  // BadBcd: the offending nibble
    std::int64_t integer = 0;
    std::uint64_t bits = 0;
    double real = 0;
};

// Bytes the data field code (DIF bits 0-3) takes; nullopt for LVAR (0x0D),
// whose length the next byte gives, and for the special code 0x0F.
inline std::optional<std::size_t> fixedFieldLength(std::uint8_t code) {
    constexpr int kLength[16] = {0, 1, 2, 3, 4, 4, 6, 8, 0, 1, 2, 3, 4, -1, 6, -1};
    const int n = kLength[code & 0x0F];
    if (n < 0) return std::nullopt;
    return static_cast<std::size_t>(n);
}

// Bytes of data after an LVAR byte; nullopt for the reserved LVAR values.
inline std::optional<std::size_t> lvarLength(std::uint8_t lvar) {
    if (lvar <= 0xBF) return lvar;                                   // text
    if (lvar >= 0xC0 && lvar <= 0xC9) return lvar - 0xC0;            // positive BCD, 2 digits a byte
    if (lvar >= 0xD0 && lvar <= 0xD9) return lvar - 0xD0;            // negative BCD
    if (lvar >= 0xE0 && lvar <= 0xEF) return lvar - 0xE0;            // binary number
    if (lvar >= 0xF0 && lvar <= 0xF4) return 4u * (lvar - 0xEC);     // 16..64-byte binary
    return std::nullopt;
}

// Decodes a fixed-length data field into `out`. `msbFirst` for the frames
// that send the high byte first (CI 76, 77, 55).
void decodeFixedField(std::uint8_t code, std::span<const std::uint8_t> bytes, bool msbFirst, DataValue& out);

// Decodes the bytes that follow the LVAR byte `lvar` into `out`.
void decodeLvarField(std::uint8_t lvar, std::span<const std::uint8_t> bytes, DataValue& out);

// The bytes of a fixed field least significant first, as decodeFixedField reads them.
struct LsbBytes {
    std::uint8_t bytes[8] = {};
    std::size_t size = 0;
    std::span<const std::uint8_t> span() const { return {bytes, size}; }
};
LsbBytes lsbOrder(std::span<const std::uint8_t> bytes, bool msbFirst);

// The digits of a BCD field as sent, leading zeros kept, minus sign first ("-0145").
void appendBcdDigits(std::string& out, std::span<const std::uint8_t> lsbFirst, bool minus);

// LVAR characters, sent last one first; bytes outside printable ASCII become
// '.' so a view never shows control characters from the line.
void appendLvarText(std::string& out, std::span<const std::uint8_t> bytes);

}  // namespace mb
