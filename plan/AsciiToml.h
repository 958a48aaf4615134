// The plan's text as the TOML reader is given it: plain ASCII with the same
// meaning. The TOML reader of Debian 12 (toml++ 3.3) has undefined behaviour
// when it meets some characters beyond ASCII where it looks for blanks (after
// `name = ` with no quotes, or after a line continued with \ in a """ string).
// So it never sees one:
//   - a string keeps its characters as \u escapes; a literal string ('...',
//     '''...''') becomes the basic string of the same value;
//   - a comment's characters become '?';
//   - one anywhere else, which TOML does not allow, is refused with its line,
//     as is text that is not UTF-8.
// Line breaks stay where they were, so the reader's line numbers are the file's.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace mb::plan {

struct TextProblem {
    int line = 1;  // 1-based
    std::string message;
};

std::variant<std::string, TextProblem> asciiToml(std::string_view text);

}  // namespace mb::plan
