#include "core/TextChars.h"

namespace mb {
namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of character `index` (from 0), or text.size() when past the end.
std::size_t offsetOfChar(std::string_view text, std::size_t index) {
    std::size_t offset = 0;
    while (offset < text.size() && index > 0) {
        ++offset;
        while (offset < text.size() && isContinuationByte(text[offset])) ++offset;
        --index;
    }
    return offset;
}

}  // namespace

std::size_t charCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += isContinuationByte(c) ? 0 : 1;
    return count;
}

std::string_view charMid(std::string_view text, std::size_t first, std::size_t count) {
    if (first == 0) first = 1;
    const std::size_t begin = offsetOfChar(text, first - 1);
    const std::size_t end = begin + offsetOfChar(text.substr(begin), count);
    return text.substr(begin, end - begin);
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace mb
