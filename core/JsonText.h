// JSON string literals for the readings and the session record: both write
// text that came off a serial line, so every control character is escaped and
// bytes that are not valid UTF-8 never reach the output unescaped.
#pragma once

#include <string>
#include <string_view>

namespace mb {

// `text` as a quoted JSON string. Invalid UTF-8 bytes become U+FFFD.
std::string jsonQuoted(std::string_view text);

// Appends jsonQuoted(text) to `out`.
void appendJsonQuoted(std::string& out, std::string_view text);

}  // namespace mb
