#include "cli/MbusSelection.h"

#include "mbus/SecondarySequence.h"

namespace mb::cli {

std::optional<SecondaryMask> secondaryMaskOption(const std::string& text) {
    return secondaryMaskOf(text);
}

}  // namespace mb::cli
