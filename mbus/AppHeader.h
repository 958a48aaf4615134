// Header fields of the application layer: the 12-byte and 4-byte data
// headers, the status byte and the manufacturer code.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Reading.h"

namespace mb {

// "EDC" from the 15-bit code: three letters of five bits, each + 64.
std::string manufacturerText(std::uint16_t code);

// The 8-digit identification number, high digit first.
std::string idDigits(std::span<const std::uint8_t, 4> bytes, bool msbFirst);

// "OK" or the set status bits: "application busy, power low".
std::string statusText(std::uint8_t status);

// Appends id, manufacturer, version, medium, access_number, status, status_text
// and signature from the 12 header bytes. `msbFirst`: multi-byte fields high byte first.
void appendLongHeader(std::vector<HeaderField>& header, std::span<const std::uint8_t, 12> bytes, bool msbFirst);

// Appends access_number, status, status_text and signature from the 4 header bytes.
void appendShortHeader(std::vector<HeaderField>& header, std::span<const std::uint8_t, 4> bytes, bool msbFirst);

// Encryption mode from the signature (configuration) word; 0 = plain data or
// a mode without a defined cipher.
unsigned encryptionMode(std::uint16_t signature);

}  // namespace mb
