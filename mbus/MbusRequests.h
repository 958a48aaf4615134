// M-Bus requests as bytes (EN 13757-2 short and long frames): the only place
// these frames are built.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/ExchangeRequest.h"

namespace mb {

inline constexpr std::uint8_t kMbusAddressSelected = 253;  // meters chosen by secondary selection
inline constexpr std::uint8_t kMbusAddressAny = 254;       // every meter answers

// SND_NKE: 10 40 A CS 16.
std::vector<std::uint8_t> mbusSndNke(std::uint8_t address);

// REQ_UD2: 10 5B/7B A CS 16; `fcb` sets the frame count bit.
std::vector<std::uint8_t> mbusReqUd2(std::uint8_t address, bool fcb = false);

// SND_UD to `address` giving the meter the primary address `newAddress`:
// 68 06 06 68 53 A 51 01 7A NEW CS 16.
std::vector<std::uint8_t> mbusSetAddress(std::uint8_t address, std::uint8_t newAddress);

// Application reset: SND_UD to `address` with CI 50 and no data: 68 03 03 68 53 A 50 CS 16.
std::vector<std::uint8_t> mbusApplicationReset(std::uint8_t address);

// Baud rate switch: SND_UD with CI B8 (300) .. BF (38400) and no data. The meter
// acknowledges at the old rate and then listens at the new one. Empty for a
// rate the standard has no CI for.
std::vector<std::uint8_t> mbusSwitchBaud(std::uint8_t address, long baud);

// SND_UD to `address` setting the meter's clock: CI 51, VIF 6D and a date-time
// of type F (DIF 04: minute, hour, day, month, year 2000..2099) or type I
// (DIF 06: second first, the weekday beside the hour, week number 0 = not given).
struct MbusDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
enum class MbusTimeType { F, I };
std::vector<std::uint8_t> mbusSetDateTime(std::uint8_t address, const MbusDateTime& time,
                                          MbusTimeType type = MbusTimeType::F);

// What a secondary selection matches. Each of the 8 identification digits
// (most significant first) is 0..9, or 0xF for any digit; 0xFFFF, 0xFF, 0xFF
// match any manufacturer, version and medium.
struct SecondaryMask {
    std::array<std::uint8_t, 8> idDigits{0xF, 0xF, 0xF, 0xF, 0xF, 0xF, 0xF, 0xF};
    std::uint16_t manufacturer = 0xFFFF;
    std::uint8_t version = 0xFF;
    std::uint8_t medium = 0xFF;
};

// Selection: SND_UD to 253 with CI 52 and the mask (identification LSB first).
std::vector<std::uint8_t> mbusSelect(const SecondaryMask& mask);

// The exchanges around them. A request to 253, 254 or 255 may find several
// meters; a read awaits the meter's data, every other request its E5.
ExchangeRequest mbusReadExchange(std::vector<std::uint8_t> bytes);
ExchangeRequest mbusAcknowledgedExchange(std::vector<std::uint8_t> bytes, const char* what);

}  // namespace mb
