// CJ/T 188 requests to any meter by the address printed on its plate, as bytes
// (with the three FE wake-up bytes the window sends).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace mb {

// A0..A6 as the frame carries them.
using Cj188Address = std::array<std::uint8_t, 7>;

// "78330000000000" (A6 first, 14 digits; A for the wildcard digit) -> A0..A6.
std::optional<Cj188Address> cj188AddressFromPlate(std::string_view plate);
inline constexpr Cj188Address kCj188AnyAddress{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};

// Read Data: C 01, DI 901F, SER 01.
std::vector<std::uint8_t> cj188ReadData(std::uint8_t meterType, const Cj188Address& address);
// Read Address: C 03, DI 810A, SER 01.
std::vector<std::uint8_t> cj188ReadAddress(std::uint8_t meterType, const Cj188Address& address);

}  // namespace mb
