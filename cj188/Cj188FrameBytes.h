// The bytes of a CJ/T 188 frame, FE.. 68 T A0..A6 C L DI0 DI1 SER data CS 16,
// and the data identifiers this bench reads and writes. The decoder, the
// protocol's frame check and the request builder share them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mb {

namespace cj188frame {
inline constexpr std::uint8_t kWakeUp = 0xFE;
inline constexpr std::uint8_t kStart = 0x68;
inline constexpr std::uint8_t kStop = 0x16;
inline constexpr std::uint8_t kWildcard = 0xAA;  // an address byte any meter takes
inline constexpr std::size_t kAddressAt = 2;
inline constexpr std::size_t kAddressSize = 7;
inline constexpr std::size_t kControlAt = 9;
inline constexpr std::size_t kLengthAt = 10;
inline constexpr std::size_t kHeaderSize = 11;   // 68 T A0..A6 C L
}  // namespace cj188frame

// Data identifiers a master reads (C 01, 03) or writes (C 04, 15, 16).
namespace cj188di {
inline constexpr std::uint16_t kCurrent = 0x901F;           // current and settlement-day reading
inline constexpr std::uint16_t kReadAddress = 0x810A;
inline constexpr std::uint16_t kHistoryFirst = 0xD120;      // last month; D121..D12B the 11 before
inline constexpr std::uint16_t kHistoryLast = 0xD12B;
inline constexpr std::uint16_t kPrices = 0x8102;            // price table
inline constexpr std::uint16_t kSettlementDay = 0x8103;
inline constexpr std::uint16_t kReadingDay = 0x8104;
inline constexpr std::uint16_t kPurchase = 0x8105;          // purchase amount
inline constexpr std::uint16_t kWriteSettlementDay = 0xA011;
inline constexpr std::uint16_t kWriteClock = 0xA015;
inline constexpr std::uint16_t kWriteSyncReading = 0xA016;
inline constexpr std::uint16_t kValve = 0xA017;
inline constexpr std::uint16_t kWriteAddress = 0xA018;
}  // namespace cj188di

}  // namespace mb
