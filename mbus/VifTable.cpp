#include "mbus/VifTable.h"

#include <array>
#include <initializer_list>

#include "mbus/NumberText.h"

namespace mb {
namespace {

constexpr std::size_t kMaxVifes = 10;
constexpr double kFeet3 = 0.028316846592;     // m^3 per cubic foot
constexpr double kGallon = 0.003785411784;    // m^3 per US gallon
constexpr double kCalorie = 4.1868;           // J per international table calorie

// "0x1F" without a buffer of its own: codes in the words of a note.
struct HexCode {
    explicit HexCode(unsigned code) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        text[2] = kDigits[(code >> 4) & 0x0F];
        text[3] = kDigits[code & 0x0F];
    }
    operator std::string_view() const { return {text, sizeof text}; }
    char text[4] = {'0', 'x', '0', '0'};
};

// No metric prefix: the exponent shows as decimals ("12.345 m³").
ValueMeaning plain(std::string_view quantity, std::string_view unit, int exponent, std::string_view displayUnit) {
    ValueMeaning m;
    m.quantity = quantity;
    m.unit = unit;
    m.scale.exponent = exponent;
    m.displayUnit = displayUnit;
    m.scale.displayExponent = exponent;
    return m;
}

// Energy and power read best in k/M/G steps: the smallest prefix at or above
// the meter's resolution, so 10^2 Wh steps show as "471.1 kWh".
ValueMeaning prefixed(std::string_view quantity, std::string_view unit, int exponent) {
    int prefix = exponent > 0 ? (exponent + 2) / 3 * 3 : 0;
    if (prefix > 9) prefix = 9;
    static constexpr std::array<std::string_view, 4> kPrefix = {"", "k", "M", "G"};
    ValueMeaning m = plain(quantity, unit, exponent, unit);
    m.displayPrefix = kPrefix[prefix / 3];
    m.scale.displayExponent = exponent - prefix;
    return m;
}

// Durations: value in seconds, display in the meter's unit.
ValueMeaning duration(std::string_view quantity, unsigned nn) {
    static constexpr std::array<double, 4> kSeconds = {1, 60, 3600, 86400};
    static constexpr std::array<std::string_view, 4> kUnit = {"s", "min", "h", "d"};
    ValueMeaning m = plain(quantity, "s", 0, kUnit[nn & 3]);
    m.scale.factor = kSeconds[nn & 3];
    return m;
}

// Durations counted in hours, days, months or years: months and years have no
// fixed length in seconds, so they stay counts.
ValueMeaning longDuration(std::string_view quantity, unsigned nn) {
    switch (nn & 3) {
        case 0: return duration(quantity, 2);
        case 1: return duration(quantity, 3);
        case 2: return plain(quantity, "", 0, "months");
        default: return plain(quantity, "", 0, "years");
    }
}

ValueMeaning months(std::string_view quantity, bool years) {
    return plain(quantity, "", 0, years ? "years" : "months");
}

ValueMeaning ofKind(std::string_view quantity, ValueKind kind) {
    ValueMeaning m;
    m.quantity = quantity;
    m.scale.kind = kind;
    return m;
}

ValueMeaning fahrenheit(std::string_view quantity, int exponent, bool difference) {
    ValueMeaning m = plain(quantity, difference ? "K" : "°C", exponent, "°F");
    m.scale.factor = 5.0 / 9.0;
    if (!difference) m.scale.offset = -32.0 * 5.0 / 9.0;
    return m;
}

ValueMeaning converted(std::string_view quantity, std::string_view unit, int exponent, double factor,
                       std::string_view displayUnit) {
    ValueMeaning m = plain(quantity, unit, exponent, displayUnit);
    m.scale.factor = factor;
    return m;
}

struct Lookup {
    ValueMeaning meaning;
    std::string_view reservedIn;  // non-empty: the table defines no such code
};

Lookup reserved(std::string_view table, unsigned) {
    return {ofKind("Reserved", ValueKind::Raw), table};
}

Lookup primary(unsigned c) {
    const unsigned n3 = c & 7, n2 = c & 3;
    const int e3 = static_cast<int>(n3), e2 = static_cast<int>(n2);
    if (c <= 0x07) return {prefixed("Energy", "Wh", e3 - 3), {}};
    if (c <= 0x0F) return {prefixed("Energy", "J", e3), {}};
    if (c <= 0x17) return {plain("Volume", "m^3", e3 - 6, "m³"), {}};
    if (c <= 0x1F) return {plain("Mass", "kg", e3 - 3, "kg"), {}};
    if (c <= 0x23) return {duration("On time", n2), {}};
    if (c <= 0x27) return {duration("Operating time", n2), {}};
    if (c <= 0x2F) return {prefixed("Power", "W", e3 - 3), {}};
    if (c <= 0x37) return {prefixed("Power", "J/h", e3), {}};
    if (c <= 0x3F) return {plain("Volume flow", "m^3/h", e3 - 6, "m³/h"), {}};
    if (c <= 0x47) return {converted("Volume flow", "m^3/h", e3 - 7, 60, "m³/min"), {}};
    if (c <= 0x4F) return {converted("Volume flow", "m^3/h", e3 - 9, 3600, "m³/s"), {}};
    if (c <= 0x57) return {plain("Mass flow", "kg/h", e3 - 3, "kg/h"), {}};
    if (c <= 0x5B) return {plain("Flow temperature", "°C", e2 - 3, "°C"), {}};
    if (c <= 0x5F) return {plain("Return temperature", "°C", e2 - 3, "°C"), {}};
    if (c <= 0x63) return {plain("Temperature difference", "K", e2 - 3, "K"), {}};
    if (c <= 0x67) return {plain("External temperature", "°C", e2 - 3, "°C"), {}};
    if (c <= 0x6B) return {plain("Pressure", "bar", e2 - 3, "bar"), {}};
    switch (c) {
        case 0x6C: return {ofKind("Date", ValueKind::Date), {}};
        case 0x6D: return {ofKind("Date and time", ValueKind::DateTime), {}};
        case 0x6E: return {plain("HCA units", "HCA", 0, "HCA"), {}};
        case 0x6F: return reserved("VIF", c);
        default: break;
    }
    if (c <= 0x73) return {duration("Averaging duration", n2), {}};
    if (c <= 0x77) return {duration("Actuality duration", n2), {}};
    switch (c) {
        case 0x78: return {ofKind("Fabrication number", ValueKind::Identifier), {}};
        case 0x79: return {ofKind("Enhanced identification", ValueKind::Identifier), {}};
        case 0x7A: return {ofKind("Bus address", ValueKind::Identifier), {}};
        case 0x7E: return {ofKind("Any quantity (readout selection)", ValueKind::Raw), {}};
        case 0x7F: return {ofKind("Manufacturer specific", ValueKind::Raw), {}};
        default: return reserved("VIF", c);
    }
}

// Extension table after VIF 0xFD: mostly identification, parameters and
// electrical units.
Lookup extensionFd(unsigned c) {
    const int e2 = static_cast<int>(c & 3), e4 = static_cast<int>(c & 0x0F);
    if (c <= 0x03) return {plain("Credit", "", e2 - 3, "currency units"), {}};
    if (c <= 0x07) return {plain("Debit", "", e2 - 3, "currency units"), {}};
    static constexpr std::array<std::string_view, 0x1C - 0x08> kIdentity = {
        "Access number", "Medium", "Manufacturer", "Parameter set identification",
        "Model / version", "Hardware version", "Firmware version", "Software version",
        "Customer location", "Customer", "Access code user", "Access code operator",
        "Access code system operator", "Access code developer", "Password", "Error flags",
        "Error mask", "", "Digital output", "Digital input"};
    if (c >= 0x08 && c <= 0x1B) {
        const std::string_view name = kIdentity[c - 0x08];
        if (name.empty()) return reserved("VIF extension FD", c);
        if (c <= 0x09) return {plain(name, "", 0, ""), {}};
        if (c >= 0x17) return {ofKind(name, ValueKind::Flags), {}};
        return {ofKind(name, ValueKind::Identifier), {}};
    }
    switch (c) {
        case 0x1C: return {plain("Baud rate", "", 0, "Bd"), {}};
        case 0x1D: return {plain("Response delay time", "", 0, "bit times"), {}};
        case 0x1E: return {plain("Retry", "", 0, ""), {}};
        case 0x1F: return {ofKind("Remote control", ValueKind::Flags), {}};
        case 0x20: return {plain("First storage number (cyclic storage)", "", 0, ""), {}};
        case 0x21: return {plain("Last storage number (cyclic storage)", "", 0, ""), {}};
        case 0x22: return {plain("Size of storage block", "", 0, ""), {}};
        case 0x28: return {months("Storage interval", false), {}};
        case 0x29: return {months("Storage interval", true), {}};
        case 0x2A: return {ofKind("Operator specific data", ValueKind::Raw), {}};
        case 0x2B: return {plain("Time point second", "s", 0, "s"), {}};
        case 0x30: return {ofKind("Start of tariff", ValueKind::DateTime), {}};
        case 0x38: return {months("Period of tariff", false), {}};
        case 0x39: return {months("Period of tariff", true), {}};
        case 0x3A: return {plain("Dimensionless", "", 0, ""), {}};
        case 0x3B: return {ofKind("Wireless M-Bus data container", ValueKind::Raw), {}};
        default: break;
    }
    if (c >= 0x24 && c <= 0x27) return {duration("Storage interval", c & 3), {}};
    if (c >= 0x2C && c <= 0x2F) return {duration("Duration since last readout", c & 3), {}};
    if (c >= 0x31 && c <= 0x33) return {duration("Duration of tariff", c & 3), {}};
    if (c >= 0x34 && c <= 0x37) return {duration("Period of tariff", c & 3), {}};
    if (c >= 0x3C && c <= 0x3F) return {duration("Period of nominal data transmissions", c & 3), {}};
    if (c >= 0x40 && c <= 0x4F) return {plain("Voltage", "V", e4 - 9, "V"), {}};
    if (c >= 0x50 && c <= 0x5F) return {plain("Current", "A", e4 - 12, "A"), {}};
    switch (c) {
        case 0x60: return {plain("Reset counter", "", 0, ""), {}};
        case 0x61: return {plain("Cumulation counter", "", 0, ""), {}};
        case 0x62: return {ofKind("Control signal", ValueKind::Flags), {}};
        case 0x63: return {plain("Day of week", "", 0, ""), {}};
        case 0x64: return {plain("Week number", "", 0, ""), {}};
        case 0x65: return {plain("Time point of day change", "", 0, ""), {}};
        case 0x66: return {ofKind("State of parameter activation", ValueKind::Flags), {}};
        case 0x67: return {ofKind("Special supplier information", ValueKind::Raw), {}};
        case 0x70: return {ofKind("Date and time of battery change", ValueKind::DateTime), {}};
        case 0x71: return {plain("RF level", "", 0, "dBm"), {}};
        case 0x72: return {ofKind("Daylight saving", ValueKind::Raw), {}};
        case 0x73: return {ofKind("Listening window management", ValueKind::Raw), {}};
        case 0x74: return {duration("Remaining battery life time", 3), {}};
        case 0x75: return {plain("Number of times the meter was stopped", "", 0, ""), {}};
        case 0x76: return {ofKind("Manufacturer protocol data container", ValueKind::Raw), {}};
        default: break;
    }
    if (c >= 0x68 && c <= 0x6B) return {longDuration("Duration since last cumulation", c & 3), {}};
    if (c >= 0x6C && c <= 0x6F) return {longDuration("Operating time battery", c & 3), {}};
    return reserved("VIF extension FD", c);
}

// Extension table after VIF 0xFB: large, electrical and non-metric units,
// converted to SI. Codes the current edition leaves reserved but an earlier one
// gave US gallons and degrees Fahrenheit keep that meaning: older meters send them.
Lookup extensionFb(unsigned c) {
    const int n = static_cast<int>(c & 1), e2 = static_cast<int>(c & 3), e3 = static_cast<int>(c & 7);
    if (c <= 0x01) return {prefixed("Energy", "Wh", n - 1 + 6), {}};
    if (c <= 0x03) return {prefixed("Reactive energy", "varh", n + 3), {}};
    if (c >= 0x08 && c <= 0x09) return {prefixed("Energy", "J", n - 1 + 9), {}};
    if (c >= 0x0C && c <= 0x0F) {
        ValueMeaning m = converted("Energy", "J", e2 - 1 + 6, kCalorie, "Mcal");
        m.scale.displayExponent = e2 - 1;
        return {m, {}};
    }
    if (c >= 0x10 && c <= 0x11) return {plain("Volume", "m^3", n + 2, "m³"), {}};
    if (c >= 0x14 && c <= 0x17) return {prefixed("Reactive power", "var", e2), {}};
    if (c >= 0x18 && c <= 0x19) {
        ValueMeaning m = plain("Mass", "kg", n + 2 + 3, "t");
        m.scale.displayExponent = n + 2;
        return {m, {}};
    }
    if (c >= 0x1A && c <= 0x1B) return {plain("Relative humidity", "%", n - 1, "%"), {}};
    switch (c) {
        case 0x20: return {converted("Volume", "m^3", 0, kFeet3, "ft³"), {}};
        case 0x21: return {converted("Volume", "m^3", -1, kFeet3, "ft³"), {}};
        case 0x22: return {converted("Volume", "m^3", -1, kGallon, "US gal"), {}};
        case 0x23: return {converted("Volume", "m^3", 0, kGallon, "US gal"), {}};
        case 0x24: return {converted("Volume flow", "m^3/h", -3, kGallon * 60, "US gal/min"), {}};
        case 0x25: return {converted("Volume flow", "m^3/h", 0, kGallon * 60, "US gal/min"), {}};
        case 0x26: return {converted("Volume flow", "m^3/h", 0, kGallon, "US gal/h"), {}};
        case 0x2A: return {plain("Phase voltage to voltage", "°", -1, "°"), {}};
        case 0x2B: return {plain("Phase voltage to current", "°", -1, "°"), {}};
        default: break;
    }
    if (c >= 0x28 && c <= 0x29) return {prefixed("Power", "W", n - 1 + 6), {}};
    if (c >= 0x2C && c <= 0x2F) return {plain("Frequency", "Hz", e2 - 3, "Hz"), {}};
    if (c >= 0x30 && c <= 0x31) return {prefixed("Power", "J/h", n - 1 + 9), {}};
    if (c >= 0x58 && c <= 0x5B) return {fahrenheit("Flow temperature", e2 - 3, false), {}};
    if (c >= 0x5C && c <= 0x5F) return {fahrenheit("Return temperature", e2 - 3, false), {}};
    if (c >= 0x60 && c <= 0x63) return {fahrenheit("Temperature difference", e2 - 3, true), {}};
    if (c >= 0x64 && c <= 0x67) return {fahrenheit("External temperature", e2 - 3, false), {}};
    // One quantity whose two low bits are the exponent, in °F (70..73) or °C (74..77).
    if (c >= 0x70 && c <= 0x73) return {fahrenheit("Cold/warm temperature limit", e2 - 3, false), {}};
    if (c >= 0x74 && c <= 0x77) return {plain("Cold/warm temperature limit", "°C", e2 - 3, "°C"), {}};
    if (c >= 0x78) return {prefixed("Cumulative count max power", "W", e3 - 3), {}};
    return reserved("VIF extension FB", c);
}

// The meaning while the VIFEs change it: the scale always, the words only
// when a view asked for them.
class Meaning {
  public:
    Meaning(VifScale& scale, VifNames* names) : scale(scale), names_(names) {}

    VifScale& scale;

    void set(const ValueMeaning& m) {
        scale = m.scale;
        if (names_) nameMeaning(*names_, m);
    }
    // ", <words>" after the quantity.
    void note(std::initializer_list<std::string_view> words) {
        if (!names_) return;
        names_->quantity += ", ";
        for (std::string_view w : words) names_->quantity += w;
    }
    // A VIFE that makes the value a different quantity of the same record:
    // its name grows by `words`, scale and units are those of `m`.
    void becomes(const ValueMeaning& m, std::initializer_list<std::string_view> words) {
        scale = m.scale;
        if (!names_) return;
        for (std::string_view w : words) names_->quantity += w;
        names_->unit.assign(m.unit);
        names_->displayUnit.assign(m.displayPrefix);
        names_->displayUnit += m.displayUnit;
    }
    void perUnit(std::string_view suffix) {
        if (!names_ || names_->unit.empty()) return;
        names_->unit += suffix;
        names_->displayUnit += suffix;
    }
    void clearUnits() {
        if (!names_) return;
        names_->unit.clear();
        names_->displayUnit.clear();
    }
    void plainText(std::span<const std::uint8_t> sentLastFirst) {
        scale = VifScale{};
        if (!names_) return;
        // Characters are sent last one first; only printable ASCII is kept.
        names_->quantity.assign("Value in ");
        names_->unit.clear();
        names_->displayUnit.clear();
        for (std::size_t i = sentLastFirst.size(); i-- > 0;) {
            const std::uint8_t ch = sentLastFirst[i];
            names_->displayUnit.push_back(ch >= 0x20 && ch < 0x7F ? static_cast<char>(ch) : '.');
        }
        names_->quantity += names_->displayUnit;
    }

  private:
    VifNames* names_;
};

void noteLowCode(Meaning& m, unsigned c, bool fromMaster) {
    if (fromMaster) {
        static constexpr std::array<std::string_view, 14> kActions = {
            "write (replace)", "add value", "subtract value", "OR", "AND", "XOR", "AND NOT", "clear",
            "add entry", "delete entry", "", "freeze data", "add to readout list",
            "delete from readout list"};
        if (c < kActions.size() && !kActions[c].empty()) return m.note({"action: ", kActions[c]});
        return m.note({"reserved action ", HexCode(c)});
    }
    static constexpr std::array<std::string_view, 0x20> kErrors = {
        "", "too many DIFEs", "storage number not implemented", "unit number not implemented",
        "tariff number not implemented", "function not implemented", "data class not implemented",
        "data size not implemented", "", "", "", "too many VIFEs", "illegal VIF group",
        "illegal VIF exponent", "VIF/DIF mismatch", "unimplemented action", "", "", "", "", "",
        "no data available", "data overflow", "data underflow", "data error", "", "", "",
        "premature end of record", "", "", ""};
    if (!kErrors[c].empty()) return m.note({"meter error: ", kErrors[c]});
    m.note({"reserved error code ", HexCode(c)});
}

void rescale(VifScale& s, int by) {
    s.exponent += by;
    s.displayExponent += by;
}

// The combinable VIFE codes after the first value byte.
void applyCombinable(Meaning& m, unsigned c, bool fromMaster) {
    static constexpr std::array<std::string_view, 0x19> kPer = {
        "per second", "per minute", "per hour", "per day", "per week", "per month", "per year",
        "per revolution/measurement", "increment per input pulse on channel 0",
        "increment per input pulse on channel 1", "increment per output pulse on channel 0",
        "increment per output pulse on channel 1", "per litre", "per m³", "per kg", "per K",
        "per kWh", "per GJ", "per kW", "per K·l", "per V", "per A", "multiplied by s",
        "multiplied by s/V", "multiplied by s/A"};
    static constexpr std::array<std::string_view, 7> kPerUnit = {"/s", "/min", "/h", "/d", "/week", "/month", "/year"};
    if (c <= 0x1F) {
        if (c != 0x00 || fromMaster) noteLowCode(m, c, fromMaster);
        return;
    }
    if (c <= 0x38) {
        m.note({kPer[c - 0x20]});
        if (c <= 0x26) m.perUnit(kPerUnit[c - 0x20]);
        return;
    }
    switch (c) {
        case 0x39: m.note({"start date/time of"}); return;
        case 0x3A: m.note({"uncorrected unit"}); return;
        case 0x3B: m.note({"accumulation only if positive"}); return;
        case 0x3C: m.note({"accumulation of abs value only if negative"}); return;
        case 0x7D: rescale(m.scale, 3); return;
        case 0x7E: m.note({"future value"}); return;
        default: break;
    }
    const std::string_view limit = (c & 0x08) ? "upper limit" : "lower limit";
    const std::string_view which = (c & 0x04) ? "last" : "first";
    const std::string_view edge = (c & 1) ? "end" : "begin";
    if (c == 0x40 || c == 0x48) {
        m.note({limit, " value"});
    } else if (c == 0x41 || c == 0x49) {
        m.note({"number of exceeds of ", limit});
        m.clearUnits();
        m.scale.exponent = m.scale.displayExponent = 0;
        m.scale.factor = 1;
        m.scale.offset = 0;
    } else if ((c & 0xF2) == 0x42) {
        m.becomes(ofKind({}, ValueKind::DateTime), {", date of ", edge, " of ", which, " ", limit, " exceed"});
    } else if ((c & 0xF0) == 0x50) {
        m.becomes(duration({}, c & 3), {", duration of ", which, " ", limit, " exceed"});
    } else if ((c & 0xF8) == 0x60) {
        m.becomes(duration({}, c & 3), {", duration of ", (c & 4) ? "last" : "first"});
    } else if ((c & 0xFA) == 0x6A) {
        m.becomes(ofKind({}, ValueKind::DateTime), {", date of ", edge, " of ", (c & 4) ? "last" : "first"});
    } else if ((c & 0xF8) == 0x70) {
        rescale(m.scale, static_cast<int>(c & 7) - 6);  // multiplicative correction factor
    } else if ((c & 0xFC) == 0x78) {
        m.note({"additive correction constant"});
        rescale(m.scale, static_cast<int>(c & 3) - 3);
    } else {
        m.note({"reserved VIFE ", HexCode(c)});
    }
}

std::string_view combinableExtensionText(unsigned c) {
    static constexpr std::array<std::string_view, 0x0D> kNames = {
        "", "at phase L1", "at phase L2", "at phase L3", "at neutral", "between L1 and L2",
        "between L2 and L3", "between L3 and L1", "at quadrant Q1", "at quadrant Q2",
        "at quadrant Q3", "at quadrant Q4", "delta between import and export"};
    if (c < kNames.size()) return kNames[c];
    return {};
}

// The scale of every code of a table, so decoding without names is a lookup.
struct ScaleRow {
    VifScale scale;
    std::string_view reservedIn;
};
using ScaleRows = std::array<ScaleRow, 128>;

ScaleRows scaleRows(Lookup (*table)(unsigned)) {
    ScaleRows rows;
    for (unsigned c = 0; c < rows.size(); ++c) {
        const Lookup l = table(c);
        rows[c] = {l.meaning.scale, l.reservedIn};
    }
    return rows;
}

const ScaleRows kPrimaryRows = scaleRows(primary);
const ScaleRows kExtensionFbRows = scaleRows(extensionFb);
const ScaleRows kExtensionFdRows = scaleRows(extensionFd);

// The base meaning of a table code: the row's scale, or the whole row with its words.
std::string_view lookUp(Meaning& meaning, bool named, Lookup (*table)(unsigned), const ScaleRows& rows,
                        unsigned c) {
    if (!named) {
        meaning.scale = rows[c].scale;
        return rows[c].reservedIn;
    }
    const Lookup l = table(c);
    meaning.set(l.meaning);
    return l.reservedIn;
}

}  // namespace

ValueMeaning scaledMeaning(std::string_view quantity, std::string_view unit, int exponent,
                           std::string_view displayUnit) {
    return plain(quantity, unit, exponent, displayUnit);
}

ValueMeaning prefixedMeaning(std::string_view quantity, std::string_view unit, int exponent) {
    return prefixed(quantity, unit, exponent);
}

void nameMeaning(VifNames& names, const ValueMeaning& m) {
    names.quantity.assign(m.quantity);
    names.unit.assign(m.unit);
    names.displayUnit.assign(m.displayPrefix);
    names.displayUnit += m.displayUnit;
}

namespace {

// Every block but the commonest: extension tables, plain text, VIFEs, or words wanted.
[[gnu::noinline]] VifBlock decodeVifBlock(std::span<const std::uint8_t> bytes, bool fromMaster, VifScale& scale,
                                          VifNames* names) {
    VifBlock out;
    scale = VifScale{};
    auto fail = [&](VifProblem problem, std::uint8_t code = 0) {
        out.problem = problem;
        out.code = code;
        out.length = bytes.size();
        return out;
    };
    if (bytes.empty()) return fail(VifProblem::EndsBeforeVif);
    Meaning meaning(scale, names);
    std::size_t at = 0;
    const std::uint8_t vif = bytes[at++];
    const unsigned code = vif & 0x7Fu;
    std::uint8_t last = vif;  // the byte whose extension bit says whether a VIFE follows
    if (code == 0x7B || code == 0x7D) {
        if (!(vif & 0x80)) {
            // The byte count is still clear (no VIFE follows), so only this record is lost.
            meaning.set(ofKind("Unknown", ValueKind::Raw));
            out.problem = VifProblem::NoExtensionByte;
            out.code = vif;
            out.length = at;
            return out;
        }
        if (at >= bytes.size()) return fail(VifProblem::EndsBeforeExtension, vif);
        last = bytes[at++];
        const unsigned c = last & 0x7Fu;
        const std::string_view reservedIn = code == 0x7B
                                                ? lookUp(meaning, names, extensionFb, kExtensionFbRows, c)
                                                : lookUp(meaning, names, extensionFd, kExtensionFdRows, c);
        if (!reservedIn.empty()) {
            out.problem = VifProblem::ReservedCode;
            out.code = static_cast<std::uint8_t>(c);
            out.reservedIn = reservedIn;
        }
    } else if (code == 0x7C) {
        if (at >= bytes.size()) return fail(VifProblem::EndsBeforePlainText);
        const std::size_t textLength = bytes[at++];
        if (bytes.size() - at < textLength) return fail(VifProblem::PlainTextPastData);
        meaning.plainText(bytes.subspan(at, textLength));
        at += textLength;
    } else {
        const std::string_view reservedIn = lookUp(meaning, names, primary, kPrimaryRows, code);
        if (!reservedIn.empty()) {
            out.problem = VifProblem::ReservedCode;
            out.code = static_cast<std::uint8_t>(code);
            out.reservedIn = reservedIn;
        }
    }

    bool manufacturerVifes = code == 0x7F;
    std::size_t vifes = 0;
    while (last & 0x80) {
        if (at >= bytes.size()) return fail(VifProblem::EndsInVifeChain);
        if (++vifes > kMaxVifes) return fail(VifProblem::TooManyVifes);
        last = bytes[at++];
        if (manufacturerVifes) continue;
        const unsigned c = last & 0x7Fu;
        if (c == 0x7F) {
            manufacturerVifes = true;
            meaning.note({"manufacturer-specific VIFE"});
        } else if (c == 0x7C) {
            if (!(last & 0x80) || at >= bytes.size()) return fail(VifProblem::CombinableExtensionMissing);
            last = bytes[at++];
            const unsigned extension = last & 0x7Fu;
            const std::string_view words = combinableExtensionText(extension);
            if (words.empty()) {
                meaning.note({"combinable extension ", HexCode(extension)});
            } else {
                meaning.note({words});
            }
        } else {
            applyCombinable(meaning, c, fromMaster);
        }
    }
    out.length = at;
    return out;
}

}  // namespace

VifBlock decodeVif(std::span<const std::uint8_t> bytes, bool fromMaster, VifScale& scale, VifNames* names) {
    // Most records carry one primary VIF and no VIFE: a row of the table, no more.
    if (!names && !bytes.empty() && bytes[0] < 0x7B) {
        const ScaleRow& row = kPrimaryRows[bytes[0]];
        scale = row.scale;
        VifBlock out;
        out.length = 1;
        if (!row.reservedIn.empty()) {
            out.problem = VifProblem::ReservedCode;
            out.code = bytes[0];
            out.reservedIn = row.reservedIn;
        }
        return out;
    }
    return decodeVifBlock(bytes, fromMaster, scale, names);
}

void appendVifProblem(std::string& out, const VifBlock& block) {
    switch (block.problem) {
        case VifProblem::None: return;
        case VifProblem::ReservedCode:
            out += "reserved ";
            out += block.reservedIn;
            out += ' ';
            appendHexCode(out, block.code);
            return;
        case VifProblem::NoExtensionByte:
            out += "VIF ";
            appendHexCode(out, block.code);
            out += " without its extension byte";
            return;
        case VifProblem::EndsBeforeVif: out += "record ends before its VIF"; return;
        case VifProblem::EndsBeforeExtension:
            out += "record ends before the extension byte of VIF ";
            appendHexCode(out, block.code);
            return;
        case VifProblem::EndsBeforePlainText: out += "record ends before its plain-text unit"; return;
        case VifProblem::PlainTextPastData: out += "plain-text unit runs past the data"; return;
        case VifProblem::EndsInVifeChain: out += "record ends inside its VIFE chain"; return;
        case VifProblem::TooManyVifes: out += "more than 10 VIFEs"; return;
        case VifProblem::CombinableExtensionMissing: out += "combinable VIFE extension byte missing"; return;
    }
}

}  // namespace mb
