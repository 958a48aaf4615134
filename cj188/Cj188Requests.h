// CJ/T 188 requests as bytes, each with the three FE wake-up bytes a master
// sends first: FE FE FE 68 T A0..A6 C L DI0 DI1 SER CS 16, CS the sum from
// 68 to SER. The only place these frames are built.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "cj188/Cj188FrameBytes.h"
#include "core/ExchangeRequest.h"

namespace mb {

// A0..A6 as the frame carries them.
using Cj188Address = std::array<std::uint8_t, 7>;
inline constexpr Cj188Address kCj188AnyAddress{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};

// "78330000000000" (A6 first, 14 digits; A for the wildcard digit) -> A0..A6.
std::optional<Cj188Address> cj188AddressFromPlate(std::string_view plate);

// The data identifiers `read --di` and the window offer (C 01).
bool cj188IsReadable(std::uint16_t dataId);

// Any request: FE FE FE 68 T A0..A6 C L DI0 DI1 SER data CS 16, the identifier
// low byte first (901F goes as 1F 90).
std::vector<std::uint8_t> cj188Request(std::uint8_t meterType, const Cj188Address& address,
                                       std::uint8_t control, std::uint16_t dataId,
                                       const std::vector<std::uint8_t>& data = {},
                                       std::uint8_t serial = 0x01);

// Read Data: C 01, DI 901F, SER 01.
std::vector<std::uint8_t> cj188ReadData(std::uint8_t meterType, const Cj188Address& address);
// Read Data of another identifier (history D120..D12B, 8102..8105).
std::vector<std::uint8_t> cj188Read(std::uint8_t meterType, const Cj188Address& address,
                                    std::uint16_t dataId);

// Valve control: C 04, DI A017, 55 opens, 99 closes.
std::vector<std::uint8_t> cj188Valve(std::uint8_t meterType, const Cj188Address& address, bool open);

// The meter's clock as it carries it: ss mm hh DD MM YY(low) YY(high), BCD.
struct Cj188Time {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// Set the clock: C 04, DI A015.
std::vector<std::uint8_t> cj188SetClock(std::uint8_t meterType, const Cj188Address& address,
                                        const Cj188Time& time);
// Settlement day (1..31): C 04, DI A011, one BCD byte.
std::vector<std::uint8_t> cj188SetSettlementDay(std::uint8_t meterType, const Cj188Address& address,
                                                int day);
// Write address: C 15, DI A018, the new A0..A6.
std::vector<std::uint8_t> cj188WriteAddress(std::uint8_t meterType, const Cj188Address& address,
                                            const Cj188Address& newAddress);
// Synchronised reading: C 16, DI A016, cumulative flow in 0.01 m3 (4 BCD bytes) and unit 2C.
std::vector<std::uint8_t> cj188WriteSyncReading(std::uint8_t meterType, const Cj188Address& address,
                                                std::uint64_t flowHundredths);
// Read Address: C 03, DI 810A, SER 01.
std::vector<std::uint8_t> cj188ReadAddress(std::uint8_t meterType,
                                           const Cj188Address& address = kCj188AnyAddress);

// The exchanges around them: a read of `address` awaits its data; a read of
// the address awaits the address. A wildcard address lets several meters answer.
ExchangeRequest cj188ReadDataExchange(std::vector<std::uint8_t> bytes);
ExchangeRequest cj188ReadAddressExchange(std::vector<std::uint8_t> bytes);
// A write awaits its acknowledgement (C | 80); `what` names it for the record.
ExchangeRequest cj188WriteExchange(std::vector<std::uint8_t> bytes, const char* what);

}  // namespace mb
