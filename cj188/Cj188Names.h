// Words for the CJ/T 188 header bytes a technician cannot read at a glance:
// the meter type T and the control code C.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mb {

// "Cold water meter", "Heat meter (heating)", "Gas meter"; "Unknown meter type" otherwise.
std::string_view cj188MeterTypeText(std::uint8_t type);

enum class Cj188MeterFamily { Water, Heat, Gas, Other };
Cj188MeterFamily cj188MeterFamily(std::uint8_t type);

// "Read data reply", "Read address request", "Read data error reply";
// "Not a standard control code" when the function bits name no command.
void appendCj188ControlText(std::string& out, std::uint8_t control);

// Bit 7: sent by the meter; bit 6: the meter could not carry out the request.
constexpr bool cj188IsReply(std::uint8_t control) { return (control & 0x80) != 0; }
constexpr bool cj188IsErrorReply(std::uint8_t control) { return (control & 0xC0) == 0xC0; }
constexpr std::uint8_t cj188Function(std::uint8_t control) {
    return static_cast<std::uint8_t>(control & 0x3F);
}

}  // namespace mb
