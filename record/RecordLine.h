// The lines of a session record, one JSON object per line with its keys in a
// fixed order, so that a reader can rely on the shape as well as on JSON:
//   {"t": "2026-12-08T01:19:00.123456Z", "port": "COM1", "dir": "tx", "hex": "10 5B 01 5C 16"}
//   {"t": "2026-12-08T01:19:00.123456Z", "port": "COM1", "dir": "event", "text": "connected 2400,E,8,1"}
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mb {

enum class ByteDirection { tx, rx };

// A receive event longer than this is written as several lines with the same
// time, so that no line grows past about 12 KB of hex.
inline constexpr std::size_t kRecordBytesPerLine = 4096;

// Appends the lines for `bytes` (none when empty). `stamp` is a utcStamp.
void appendBytesLines(std::string& out, std::string_view stamp, std::string_view port, ByteDirection direction,
                      std::span<const std::uint8_t> bytes);

// Appends the line for an event or a verdict; the text is the caller's.
// `members`, when given, are further JSON members after the text (starting with ", "):
//   {"t": ..., "port": "COM1", "dir": "event", "text": "pass, Reply in 12 ms", "verdict": "pass", "reading": {...}}
void appendEventLine(std::string& out, std::string_view stamp, std::string_view port, std::string_view text,
                     std::string_view members = {});

}  // namespace mb
