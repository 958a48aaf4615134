// The unit codes a CJ/T 188 meter puts after each amount: the symbol the
// meter's own display uses and the power of ten that takes the amount to SI.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mb {

struct Cj188Unit {
    std::string_view meterSymbol;  // "kWh", "m³", "MWh×100": what the technician reads
    std::string_view siUnit;       // "Wh", "J", "W", "m^3", "m^3/h"
    int siExponent = 0;            // amount × 10^siExponent is in siUnit
};

// nullopt for a code the table does not define.
std::optional<Cj188Unit> cj188Unit(std::uint8_t code);

}  // namespace mb
