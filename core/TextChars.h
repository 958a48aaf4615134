// Character-level views of UTF-8 field texts: the fields count characters,
// so "characters 4 and 5" must not split a multi-byte character.
#pragma once

#include <cstddef>
#include <string_view>

namespace mb {

// Number of characters (code points) in `text`.
std::size_t charCount(std::string_view text);

// Up to `count` characters starting at character `first` (counted from 1), like
// a field's Mid: past the end gives a shorter or empty text.
std::string_view charMid(std::string_view text, std::size_t first, std::size_t count);

// `text` without leading and trailing blanks (U+0020 only).
std::string_view trimBlanks(std::string_view text);

}  // namespace mb
