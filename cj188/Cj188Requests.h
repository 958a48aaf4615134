// CJ/T 188 requests of the CJ188 page: Read Data (C=01, DI 901F) and Read ID
// (C=03, DI 810A, wildcard address). Both are 19 bytes at TxBuffer[0..18]:
// FE FE FE 68 T A0..A6 C 03 DI0 DI1 01 CS 16, CS = sum of [3..16] mod 256.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/TxBuffer.h"

namespace mb {

inline constexpr int kCj188LastIndex = 18;

// The meter's address and type as the technician typed them, exactly as the
// fields hold them.
struct Cj188Fields {
    std::string deviceId;        // meter number, up to 10 decimal digits: A4..A0
    std::string vendorCodeLow;   // first vendor-code pair: address byte A5
    std::string vendorCodeHigh;  // second vendor-code pair: address byte A6
    std::string meterType;       // e.g. " - 10H": T from characters 4 and 5
};

// T from the meter-type text: a hex byte, " - " before it and H after it
// optional (" - 1AH", "1AH", "1A" -> 0x1A); else the hex pair at characters 4
// and 5 (" – 19H" -> 0x19). Text that is neither is no meter type
// (std::nullopt): no request is made with it, nothing is sent as 00.
std::optional<std::uint8_t> meterTypeByte(std::string_view meterType);

// Builds Read Data in tx[0..18]; returns the last index (18). A field piece that
// hexPairToByte (for T, meterTypeByte) refuses leaves the byte tx already held
// at that index; the checksum is always formed over the bytes as they stand.
int buildCj188ReadData(TxBuffer& tx, const Cj188Fields& fields);

// Builds Read ID in tx[0..18]; only T is taken from the inputs. Returns 18.
int buildCj188ReadId(TxBuffer& tx, std::string_view meterType);

}  // namespace mb
