// What a record's value means: the value information block (VIF, the 0xFB and
// 0xFD extension tables, plain-text units and the combinable VIFEs) turned into
// a quantity name, an SI unit and the scale to apply to the raw number.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mb {

enum class ValueKind : std::uint8_t {
    Number,      // a measured or counted value
    Date,        // a date alone: type G, two bytes
    DateTime,    // a date/time type chosen by the data length
    Identifier,  // digits or text shown as they are (fabrication number, versions)
    Flags,       // bits (error flags, digital inputs) shown in hex
    Raw,         // manufacturer-specific: bytes as hex
};

struct ValueMeaning {
    std::string quantity;
    std::string unit;           // SI unit of Record::value; "" for none
    int exponent = 0;           // SI value = raw * 10^exponent * factor + offset
    double factor = 1;
    double offset = 0;
    std::string displayUnit;    // the meter's own scale: "kWh", "m³", "min"
    int displayExponent = 0;    // displayed number = raw * 10^displayExponent
    ValueKind kind = ValueKind::Number;
};

struct VifDecode {
    ValueMeaning meaning;
    std::size_t length = 0;    // bytes of VIF, extension bytes, plain-text unit and VIFEs
    std::string error;         // the VIF cannot be decoded; the record still has a known length
    bool lengthKnown = true;   // false: the block runs past the data or breaks a limit
};

// A meaning whose display keeps the exponent as decimals ("12.345 m³").
ValueMeaning scaledMeaning(std::string quantity, std::string unit, int exponent, std::string displayUnit);

// A meaning displayed with the k/M/G prefix just above the meter's resolution ("471.1 kWh").
ValueMeaning prefixedMeaning(std::string quantity, std::string unit, int exponent);

// `bytes` starts at the VIF and runs to the end of the user data. `fromMaster`
// reads the low combinable VIFE codes as actions (write, add, ...) instead of
// error codes.
VifDecode decodeVif(std::span<const std::uint8_t> bytes, bool fromMaster);

}  // namespace mb
