// The CJ188 page's requests from the text its fields hold, built into the
// window's shared TxBuffer (19 bytes, tx[0..18]) by the one CJ/T 188 request
// builder. A field piece that is no hex pair leaves the byte the buffer
// already held at its index, and the checksum is formed over the bytes as
// they then stand.
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

// Builds Read Data in tx[0..18]; returns the last index (18).
int buildCj188ReadData(TxBuffer& tx, const Cj188Fields& fields);

// Builds Read ID in tx[0..18]; only T is taken from the inputs. Returns 18.
int buildCj188ReadId(TxBuffer& tx, std::string_view meterType);

}  // namespace mb
