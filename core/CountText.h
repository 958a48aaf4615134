// "1 byte", "2 bytes": a count and its noun agreeing in number, for messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mb {

// `noun` is the singular; the plural adds an "s" (byte, frame, event).
inline std::string countText(std::size_t count, std::string_view noun) {
    std::string text = std::to_string(count) + ' ';
    text += noun;
    if (count != 1) text += 's';
    return text;
}

}  // namespace mb
