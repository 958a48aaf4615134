// The EN1434 page's requests from the text its fields hold, built into the
// window's shared TxBuffer by the one M-Bus request builder.
//  Read Data: REQ_UD2 10 5B A CS 16 in tx[0..4] (the frame count bit never toggles).
//  Modification ID: SND_UD 68 06 06 68 53 FE 51 01 7A N CS 16 in tx[0..11],
//  giving the meter on the line the primary address N.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/TxBuffer.h"

namespace mb {

inline constexpr int kMbusReadDataLastIndex = 4;
inline constexpr int kMbusModifyIdLastIndex = 11;

// The value of the hex number formed by the first two characters of a field:
// "FE" -> 0xFE, "1" -> 0x01, "" -> 0, case-insensitive. Reading stops at the
// first character that is not a hex digit ("1G" -> 0x01, "G1" -> 0).
std::uint8_t mbusAddressFromText(std::string_view text);

// Builds REQ_UD2 to the primary address in `deviceId`; returns the last index (4).
int buildMbusReadData(TxBuffer& tx, std::string_view deviceId);

// Builds SND_UD to address 254 setting the address in `newAddress`; returns 11.
int buildMbusModifyId(TxBuffer& tx, std::string_view newAddress);

}  // namespace mb
