// Medium names for the device-type byte of the variable data header and for
// the four medium bits of the fixed data structure.
#pragma once

#include <cstdint>
#include <string>

namespace mb {

// "Heat (outlet)", "Water", "Electricity", ... ; "Reserved (0x42)" for codes without a name.
std::string mediumText(std::uint8_t code);

// The fixed data structure's own, shorter medium table (four bits).
std::string fixedMediumText(std::uint8_t code);

}  // namespace mb
