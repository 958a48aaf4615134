// Header fields of the application layer: the 12-byte and 4-byte data
// headers, the status byte and the manufacturer code; as codes when decoding,
// as words when a view shows them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "mbus/MbusValues.h"

namespace mb {

// "EDC" from the 15-bit code: three letters of five bits, each + 64.
void appendManufacturerText(std::string& out, std::uint16_t code);

// The 8-digit identification number, high digit first, packed four bits a
// digit: its hex form is the number as printed. A wildcard or a non-BCD
// nibble stays as it was sent.
std::uint32_t idDigits(std::span<const std::uint8_t, 4> bytes, bool msbFirst);
void appendIdDigits(std::string& out, std::uint32_t digits);

// "OK" or the set status bits: "application busy, power low".
void appendStatusText(std::string& out, std::uint8_t status);

// Adds id, manufacturer, version, medium, access_number, status, status_text
// and signature from the 12 header bytes. `msbFirst`: multi-byte fields high byte first.
void addLongHeader(MbusValues& values, std::span<const std::uint8_t, 12> bytes, bool msbFirst);

// Adds access_number, status, status_text and signature from the 4 header bytes.
void addShortHeader(MbusValues& values, std::span<const std::uint8_t, 4> bytes, bool msbFirst);

// Encryption mode from the signature (configuration) word; 0 = plain data or
// a mode without a defined cipher.
unsigned encryptionMode(std::uint16_t signature);

}  // namespace mb
