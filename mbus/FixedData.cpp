#include "mbus/FixedData.h"

#include "mbus/AppHeader.h"
#include "mbus/DataField.h"
#include "mbus/Medium.h"
#include "mbus/NumberText.h"
#include "mbus/RecordValue.h"
#include "mbus/VifTable.h"

namespace mb {
namespace {

constexpr std::uint8_t kStatusBinary = 0x80;  // counters are binary, not BCD
constexpr std::uint8_t kStatusStored = 0x40;  // counters were stored at a fixed date
constexpr std::uint8_t kUnitHistoric = 0x3E;  // counter 2 only: counter 1's unit, stored value

// The six unit bits: steps of 1, 10, 100 of the unit, then the next prefix.
ValueMeaning fixedUnit(std::uint8_t code) {
    code &= 0x3F;
    const int c = code;
    if (code == 0x00) return scaledMeaning("Time (h,m,s)", "", 0, "");
    if (code == 0x01) return scaledMeaning("Date (D,M,Y)", "", 0, "");
    if (code <= 0x0A) return prefixedMeaning("Energy", "Wh", c - 0x02);
    if (code <= 0x13) return prefixedMeaning("Energy", "J", c - 0x0B + 3);
    if (code <= 0x1C) return prefixedMeaning("Power", "W", c - 0x14);
    if (code <= 0x25) return prefixedMeaning("Power", "J/h", c - 0x1D + 3);
    if (code <= 0x2E) return scaledMeaning("Volume", "m^3", c - 0x26 - 6, "m³");
    if (code <= 0x37) return scaledMeaning("Volume flow", "m^3/h", c - 0x2F - 6, "m³/h");
    if (code == 0x38) return scaledMeaning("Temperature", "°C", -3, "°C");
    if (code == 0x39) return scaledMeaning("HCA units", "HCA", 0, "HCA");
    if (code == 0x3F) return scaledMeaning("Counter without units", "", 0, "");
    ValueMeaning m = scaledMeaning("Counter", "", 0, "");
    m.kind = ValueKind::Raw;
    return m;
}

Record counter(const ValueMeaning& meaning, std::span<const std::uint8_t> bytes, std::uint8_t status,
               bool stored, bool msbFirst) {
    Record r;
    r.quantity = meaning.quantity;
    r.storage = stored ? 1 : 0;
    r.rawHex = hexBytes(bytes);
    const DataValue value = decodeFixedField((status & kStatusBinary) ? 0x04 : 0x0C, bytes, msbFirst);
    ValueMeaning m = meaning;
    // Time and date counters are digit groups, not numbers.
    if (meaning.quantity.starts_with("Time") || meaning.quantity.starts_with("Date")) m.kind = ValueKind::Identifier;
    fillRecordValue(r, m, value, bytes, msbFirst);
    return r;
}

}  // namespace

void decodeFixedData(Reading& reading, std::span<const std::uint8_t> data, bool msbFirst) {
    if (data.empty()) return;  // a control frame: the CI alone
    if (data.size() != kFixedDataLength) {
        Record r;
        r.error = "fixed data structure needs 16 bytes, got " + std::to_string(data.size());
        r.rawHex = hexBytes(data);
        reading.records.push_back(std::move(r));
        return;
    }
    auto& h = reading.header;
    h.push_back({"id", "Identification", idDigits(data.first<4>(), msbFirst)});
    const std::uint8_t status = data[5];
    h.push_back({"access_number", "Access number", std::int64_t{data[4]}});
    h.push_back({"status", "Status", std::int64_t{status}});
    h.push_back({"status_text", "Status bits", statusText(status & 0x1F)});
    const std::uint8_t unit1 = data[6], unit2 = data[7];
    h.push_back({"medium", "Medium", fixedMediumText(static_cast<std::uint8_t>((unit1 >> 6) | ((unit2 >> 6) << 2)))});
    h.push_back({"counter_format", "Counter format", std::string((status & kStatusBinary) ? "binary" : "BCD")});

    const bool stored = (status & kStatusStored) != 0;
    const ValueMeaning first = fixedUnit(unit1);
    reading.records.push_back(counter(first, data.subspan(8, 4), status, stored, msbFirst));
    const bool historic = (unit2 & 0x3F) == kUnitHistoric;
    reading.records.push_back(
        counter(historic ? first : fixedUnit(unit2), data.subspan(12, 4), status, stored || historic, msbFirst));
}

}  // namespace mb
