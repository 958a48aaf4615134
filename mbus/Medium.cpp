#include "mbus/Medium.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace mb {

void appendMediumText(std::string& out, std::uint8_t code) {
    static constexpr std::array<std::string_view, 0x38> kNames = {
        "Other", "Oil", "Electricity", "Gas", "Heat (outlet)", "Steam", "Warm water (30-90 °C)",
        "Water", "Heat cost allocator", "Compressed air", "Cooling load meter (outlet)",
        "Cooling load meter (inlet)", "Heat (inlet)", "Heat / cooling load meter",
        "Bus / system component", "Unknown medium", "", "", "", "", "", "Hot water (90 °C and above)",
        "Cold water", "Dual register (hot/cold) water meter", "Pressure", "A/D converter",
        "Smoke detector", "Room sensor", "Gas detector", "", "", "", "Breaker (electricity)",
        "Valve (gas or water)", "", "", "", "Customer unit (display device)", "", "", "Waste water",
        "Garbage", "Carbon dioxide", "", "", "", "", "", "", "Communication controller",
        "Unidirectional repeater", "Bidirectional repeater", "", "", "Radio converter (system side)",
        "Radio converter (meter side)"};
    if (code < kNames.size() && !kNames[code].empty()) {
        out += kNames[code];
        return;
    }
    char text[24];
    out.append(text, static_cast<std::size_t>(std::snprintf(text, sizeof text, "Reserved (0x%02X)", code)));
}

std::string_view fixedMediumText(std::uint8_t code) {
    static constexpr std::array<std::string_view, 16> kNames = {
        "Other", "Oil", "Electricity", "Gas", "Heat", "Steam", "Hot water", "Water",
        "Heat cost allocator", "Reserved", "Gas (mode 2)", "Heat (mode 2)", "Hot water (mode 2)",
        "Water (mode 2)", "Heat cost allocator (mode 2)", "Reserved"};
    return kNames[code & 0x0F];
}

}  // namespace mb
