// A frame given as text: hex digit pairs with blanks and line breaks anywhere,
// leading FE wake-up bytes allowed; and which protocol a whole frame is in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Reading.h"

namespace mb::cli {

using Bytes = std::vector<std::uint8_t>;

// Empty optional when the text holds anything but hex pairs and white space,
// or an odd number of digits. "0x" prefixes and commas are not accepted.
std::optional<Bytes> parseHexText(std::string_view text);

// The same into `bytes` (cleared first, its capacity kept); false on such text.
bool parseHexText(std::string_view text, Bytes& bytes);

enum class Protocol { Unknown, Mbus, Cj188 };

// E5, 10 .. 16 and 68 L L 68 with L+6 bytes are M-Bus; any other frame that
// starts with 68 (after FE bytes) is CJ/T 188.
Protocol detectProtocol(std::span<const std::uint8_t> frame);

// True when the bytes are as long as their start byte and length field say
// (E5: 1, 10: 5, 68 L L 68: L+6, CJ/T 188 after FE bytes: L+13): a frame,
// whatever its checksum and stop byte. A decoder error on such bytes is a
// failed check, not "no frame".
bool hasFrameLength(std::span<const std::uint8_t> frame);

// Decodes with the detected protocol's decoder; a Reading with `error` set
// when the bytes are no frame of either.
Reading decodeAnyFrame(std::span<const std::uint8_t> frame);

// A capture may hold stray bytes before its frame (FF 68 ..., 00 00 00 00 68 ...).
// The reading of the first tail of the input that passes its checks, and how
// many leading bytes were skipped to reach it; when no tail passes, or the
// bytes before it hold a frame of their own (E5 E5), the whole input's
// reading with `skipped` 0.
struct DecodedInput {
    std::size_t skipped = 0;
    Reading reading;
};
DecodedInput decodeAfterStrayBytes(std::span<const std::uint8_t> input);

// "skipped 4 stray bytes (00 00 00 00) before the frame"; a long run of noise
// is shown by its first 16 bytes.
std::string strayBytesText(std::span<const std::uint8_t> input, std::size_t skipped);

}  // namespace mb::cli
