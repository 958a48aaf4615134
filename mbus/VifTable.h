// What a record's value means: the value information block (VIF, the 0xFB and
// 0xFD extension tables, plain-text units and the combinable VIFEs) turned into
// the scale to apply to the raw number and, only when a view asks, the
// quantity name and units.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mb {

enum class ValueKind : std::uint8_t {
    Number,      // a measured or counted value
    Date,        // a date alone: type G, two bytes
    DateTime,    // a date/time type chosen by the data length
    Identifier,  // digits or text shown as they are (fabrication number, versions)
    Flags,       // bits (error flags, digital inputs) shown in hex
    Raw,         // manufacturer-specific: bytes as hex
};

// SI value = raw * 10^exponent * factor + offset; displayed number = raw * 10^displayExponent.
struct VifScale {
    int exponent = 0;
    double factor = 1;
    double offset = 0;
    int displayExponent = 0;
    ValueKind kind = ValueKind::Number;
};

// One row of a unit table: the scale and the words, all static text.
struct ValueMeaning {
    std::string_view quantity;
    std::string_view unit;           // SI unit of the value; "" for none
    std::string_view displayPrefix;  // "k" of "kWh"
    std::string_view displayUnit;    // the meter's own scale: "Wh" of "kWh", "m³", "min"
    VifScale scale;
};

// The words of a VIF block, composed from its VIFEs. Kept by a view and
// reused from record to record.
struct VifNames {
    std::string quantity;
    std::string unit;
    std::string displayUnit;
};

enum class VifProblem : std::uint8_t {
    None,
    // The record keeps its length and the records after it still decode.
    ReservedCode,     // a code no table defines
    NoExtensionByte,  // VIF FB or FD without the extension bit
    // The end of the record cannot be found: the rest of the data is lost.
    EndsBeforeVif,
    EndsBeforeExtension,
    EndsBeforePlainText,
    PlainTextPastData,
    EndsInVifeChain,
    TooManyVifes,
    CombinableExtensionMissing,
};

struct VifBlock {
    std::size_t length = 0;  // bytes of VIF, extension bytes, plain-text unit and VIFEs
    VifProblem problem = VifProblem::None;
    std::uint8_t code = 0;           // the code or byte the problem names
    std::string_view reservedIn;     // ReservedCode: "VIF", "VIF extension FD", ...

    bool lengthKnown() const { return problem <= VifProblem::NoExtensionByte; }
};

// A meaning whose display keeps the exponent as decimals ("12.345 m³").
ValueMeaning scaledMeaning(std::string_view quantity, std::string_view unit, int exponent,
                           std::string_view displayUnit);

// A meaning displayed with the k/M/G prefix just above the meter's resolution ("471.1 kWh").
ValueMeaning prefixedMeaning(std::string_view quantity, std::string_view unit, int exponent);

// Writes the words of a table row into `names`.
void nameMeaning(VifNames& names, const ValueMeaning& meaning);

// `bytes` starts at the VIF and runs to the end of the user data. `fromMaster`
// reads the low combinable VIFE codes as actions (write, add, ...) instead of
// error codes. The scale goes to `scale` (the record's own, so it is not
// copied); `names`, when given, receives the quantity and units.
VifBlock decodeVif(std::span<const std::uint8_t> bytes, bool fromMaster, VifScale& scale,
                   VifNames* names = nullptr);

// Why the block could not be decoded: "reserved VIF 0x6F", "more than 10 VIFEs".
void appendVifProblem(std::string& out, const VifBlock& block);

}  // namespace mb
