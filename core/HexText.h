// Byte <-> text helpers shared by every pane and every CJ188 request field.
// Texts are UTF-8; lengths and positions count characters (code points), not bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mb {

// Widens `text` to `length` characters with '0'. Zeros go on the left only when
// `side` is exactly "L"; any other side pads on the right. Never shortens.
std::string padText(std::string_view text, int length, std::string_view side);

// Reads a two-character pair as packed decimal: "37" -> 0x37, "90" -> 0x90.
// Any text that is not exactly two characters long gives 0 (a short or long
// piece silently becomes a zero byte). Two characters that are not both decimal
// digits are refused with std::nullopt, so the caller can keep the byte it had.
std::optional<std::uint8_t> hexPairToByte(std::string_view pair);

// The pane form of bytes: two upper-case hex digits and one blank per byte,
// the last byte included ("68 0A FF "). Appends to `out`.
void appendHexEcho(std::string& out, std::span<const std::uint8_t> bytes);

// Same as appendHexEcho into a fresh string.
std::string hexEcho(std::span<const std::uint8_t> bytes);

// The decoders' form: one blank between bytes, none after the last ("68 0A FF").
void appendHexBytes(std::string& out, std::span<const std::uint8_t> bytes);

}  // namespace mb
