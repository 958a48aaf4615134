// Medium names for the device-type byte of the variable data header and for
// the four medium bits of the fixed data structure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mb {

// "Heat (outlet)", "Water", "Electricity", ... ; "Reserved (0x42)" for codes without a name.
void appendMediumText(std::string& out, std::uint8_t code);

// The fixed data structure's own, shorter medium table (four bits).
std::string_view fixedMediumText(std::uint8_t code);

}  // namespace mb
