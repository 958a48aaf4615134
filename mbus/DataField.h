// The data field of a data record: integers, reals, BCD and variable-length
// data as the DIF's data field code (and the LVAR byte) says.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace mb {

struct DataValue {
    enum class Type : std::uint8_t { None, Integer, Real, Text, Binary };
    Type type = Type::None;
    std::int64_t integer = 0;    // Integer: signed value (BCD included)
    std::uint64_t unsignedValue = 0;  // Integer: the same bits read without sign (identifiers, flags)
    double real = 0;             // Real
    bool bcd = false;            // Integer that came from BCD digits
    std::string text;            // Text: the characters; Binary: hex; BCD: digit string with sign
    std::string error;           // non-empty: the bytes do not hold a value of this coding
};

// Bytes the data field code (DIF bits 0-3) takes; nullopt for LVAR (0x0D),
// whose length the next byte gives, and for the special code 0x0F.
std::optional<std::size_t> fixedFieldLength(std::uint8_t code);

// Bytes of data after an LVAR byte; nullopt for the reserved LVAR values.
std::optional<std::size_t> lvarLength(std::uint8_t lvar);

// Decodes a fixed-length data field. `msbFirst` for the frames that send the
// high byte first (CI 76, 77, 55).
DataValue decodeFixedField(std::uint8_t code, std::span<const std::uint8_t> bytes, bool msbFirst);

// Decodes the bytes that follow the LVAR byte `lvar`.
DataValue decodeLvarField(std::uint8_t lvar, std::span<const std::uint8_t> bytes);

// `count` packed BCD digits, least significant byte first. A top nibble F marks
// a negative number; any other nibble above 9 is an error.
DataValue decodeBcd(std::span<const std::uint8_t> lsbFirst);

}  // namespace mb
