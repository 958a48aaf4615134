// Reaching an M-Bus meter by its identification number: the --secondary
// option's text as a selection mask. The steps (select, talk at 253,
// deselect) are mbus/SecondarySequence, which the window runs too.
#pragma once

#include <optional>
#include <string>

#include "mbus/MbusRequests.h"

namespace mb::cli {

// "12345678", "1234FFFF": eight digits, F for any digit.
std::optional<SecondaryMask> secondaryMaskOption(const std::string& text);

}  // namespace mb::cli
