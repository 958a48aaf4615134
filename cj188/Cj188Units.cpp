#include "cj188/Cj188Units.h"

#include <array>

namespace mb {
namespace {

struct UnitRow {
    std::uint8_t code;
    Cj188Unit unit;
};

// Energy in Wh or J, power in W, volume in m^3 and flow in m^3/h; the "×100"
// codes let a six-digit register count past a million of the base unit.
constexpr std::array<UnitRow, 16> kUnits{{
    {0x02, {"Wh", "Wh", 0}},
    {0x05, {"kWh", "Wh", 3}},
    {0x08, {"MWh", "Wh", 6}},
    {0x0A, {"MWh×100", "Wh", 8}},
    {0x01, {"J", "J", 0}},
    {0x0B, {"kJ", "J", 3}},
    {0x0E, {"MJ", "J", 6}},
    {0x11, {"GJ", "J", 9}},
    {0x13, {"GJ×100", "J", 11}},
    {0x14, {"W", "W", 0}},
    {0x17, {"kW", "W", 3}},
    {0x1A, {"MW", "W", 6}},
    {0x29, {"L", "m^3", -3}},
    {0x2C, {"m³", "m^3", 0}},
    {0x32, {"L/h", "m^3/h", -3}},
    {0x35, {"m³/h", "m^3/h", 0}},
}};

}  // namespace

std::optional<Cj188Unit> cj188Unit(std::uint8_t code) {
    for (const UnitRow& row : kUnits) {
        if (row.code == code) return row.unit;
    }
    return std::nullopt;
}

}  // namespace mb
