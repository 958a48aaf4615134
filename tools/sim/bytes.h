// Byte helpers shared by the virtual meter: hex text, 8-bit sums, BCD fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mb::sim {

using Bytes = std::vector<std::uint8_t>;

// "68 10 AA" style: two upper-case digits per byte, one blank between bytes.
std::string toHex(const std::uint8_t* data, std::size_t size);
inline std::string toHex(const Bytes& bytes) {
    return toHex(bytes.data(), bytes.size());
}

// Parses hex pairs, blanks ignored; nullopt on any other character or an odd digit count.
std::optional<Bytes> fromHex(std::string_view text);

// Sum of bytes [first, last) modulo 256: the checksum of both frame kinds.
std::uint8_t sum8(const Bytes& bytes, std::size_t first, std::size_t last);

// Appends value as `count` packed BCD bytes, least significant pair first.
// Digits beyond the field are dropped, as a real counter rolls over.
void appendBcd(Bytes& out, std::uint64_t value, std::size_t count);

// Packed BCD byte of a value 0..99.
std::uint8_t bcdByte(unsigned value);

// Value of a packed BCD byte, nullopt when a nibble is above 9.
std::optional<unsigned> fromBcdByte(std::uint8_t byte);

}  // namespace mb::sim
