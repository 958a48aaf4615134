#include "cj188/Cj188Names.h"

namespace mb {

Cj188MeterFamily cj188MeterFamily(std::uint8_t type) {
    if (type >= 0x10 && type <= 0x19) return Cj188MeterFamily::Water;
    if (type >= 0x20 && type <= 0x29) return Cj188MeterFamily::Heat;
    if (type >= 0x30 && type <= 0x39) return Cj188MeterFamily::Gas;
    return Cj188MeterFamily::Other;
}

std::string_view cj188MeterTypeText(std::uint8_t type) {
    switch (type) {
        case 0x10: return "Cold water meter";
        case 0x11: return "Domestic hot water meter";
        case 0x12: return "Drinking water meter";
        case 0x13: return "Reclaimed water meter";
        case 0x20: return "Heat meter (heating)";
        case 0x21: return "Heat meter (cooling)";
        case 0x30: return "Gas meter";
        case 0x40: return "Electricity meter";
        case 0xAA: return "Any meter type (wildcard)";
        default: break;
    }
    switch (cj188MeterFamily(type)) {
        case Cj188MeterFamily::Water: return "Water meter";
        case Cj188MeterFamily::Heat: return "Heat meter";
        case Cj188MeterFamily::Gas: return "Gas meter";
        case Cj188MeterFamily::Other: break;
    }
    if (type >= 0x41 && type <= 0x49) return "Other meter";
    return "Unknown meter type";
}

void appendCj188ControlText(std::string& out, std::uint8_t control) {
    // Collector scripts send valve control with 2A (their "force open/close");
    // no standard function, so it is named for what those frames do.
    if (control == 0x2A) {
        out += "Forced valve control request (vendor control code 2A)";
        return;
    }
    const char* command = nullptr;
    switch (cj188Function(control)) {
        case 0x01: command = "Read data"; break;
        case 0x03: command = "Read address"; break;
        case 0x04: command = "Write data"; break;
        case 0x09: command = "Read key version"; break;
        case 0x15: command = "Write address"; break;
        case 0x16: command = "Write synchronised reading"; break;
        default: out += "Not a standard control code"; return;
    }
    const char* kind = !cj188IsReply(control)        ? " request"
                       : cj188IsErrorReply(control) ? " error reply"
                                                    : " reply";
    out += command;
    out += kind;
}

}  // namespace mb
