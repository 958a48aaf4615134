// CJ/T 188 requests as bytes, each with the three FE wake-up bytes a master
// sends first: FE FE FE 68 T A0..A6 C L DI0 DI1 SER CS 16, CS the sum from
// 68 to SER. The only place these frames are built.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/ExchangeRequest.h"

namespace mb {

// A0..A6 as the frame carries them.
using Cj188Address = std::array<std::uint8_t, 7>;
inline constexpr Cj188Address kCj188AnyAddress{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};

// "78330000000000" (A6 first, 14 digits; A for the wildcard digit) -> A0..A6.
std::optional<Cj188Address> cj188AddressFromPlate(std::string_view plate);

// Read Data: C 01, DI 901F, SER 01.
std::vector<std::uint8_t> cj188ReadData(std::uint8_t meterType, const Cj188Address& address);
// Read Address: C 03, DI 810A, SER 01.
std::vector<std::uint8_t> cj188ReadAddress(std::uint8_t meterType,
                                           const Cj188Address& address = kCj188AnyAddress);

// The exchanges around them: a read of `address` awaits its data; a read of
// the address awaits the address. A wildcard address lets several meters answer.
ExchangeRequest cj188ReadDataExchange(std::vector<std::uint8_t> bytes);
ExchangeRequest cj188ReadAddressExchange(std::vector<std::uint8_t> bytes);

}  // namespace mb
