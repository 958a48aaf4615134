#include "mbus/FixedData.h"

#include "mbus/AppHeader.h"
#include "mbus/DataField.h"
#include "mbus/RecordValue.h"

namespace mb {
namespace {

constexpr std::uint8_t kStatusBinary = 0x80;  // counters are binary, not BCD
constexpr std::uint8_t kStatusStored = 0x40;  // counters were stored at a fixed date
constexpr std::uint8_t kUnitHistoric = 0x3E;  // counter 2 only: counter 1's unit, stored value

void addCounter(MbusValues& values, std::size_t at, std::uint8_t unitBits, std::uint8_t status, bool stored) {
    MbusRecord& r = values.records.emplace_back();
    r.kind = MbusRecordKind::Counter;
    r.counterUnit = unitBits & 0x3F;
    r.start = r.data = static_cast<std::uint16_t>(at);
    r.end = static_cast<std::uint16_t>(at + 4);
    r.storage = stored ? 1 : 0;
    const auto bytes = values.frame.subspan(at, 4);
    decodeFixedField((status & kStatusBinary) ? 0x04 : 0x0C, bytes, values.msbFirst, r.raw);
    r.scale = fixedUnitMeaning(r.counterUnit).scale;
    setRecordValue(r, bytes, values.msbFirst);
}

}  // namespace

// The six unit bits: steps of 1, 10, 100 of the unit, then the next prefix.
ValueMeaning fixedUnitMeaning(std::uint8_t code) {
    code &= 0x3F;
    const int c = code;
    // Time and date counters are digit groups, not numbers.
    auto digits = [](ValueMeaning m) {
        m.scale.kind = ValueKind::Identifier;
        return m;
    };
    if (code == 0x00) return digits(scaledMeaning("Time (h,m,s)", "", 0, ""));
    if (code == 0x01) return digits(scaledMeaning("Date (D,M,Y)", "", 0, ""));
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
    m.scale.kind = ValueKind::Raw;
    return m;
}

void decodeFixedData(MbusValues& values, std::size_t begin) {
    const std::size_t size = values.userDataEnd - begin;
    if (size == 0) return;  // a control frame: the CI alone
    if (size != kFixedDataLength) {
        MbusRecord& r = values.records.emplace_back();
        r.kind = MbusRecordKind::Undecoded;
        r.shown = MbusShown::Error;
        r.problem = MbusProblem::FixedDataLength;
        r.function = RecordFunction::Instantaneous;
        r.start = static_cast<std::uint16_t>(begin);
        r.end = values.userDataEnd;
        return;
    }
    const auto data = values.frame.subspan(begin, kFixedDataLength);
    values.add(MbusField::Id, idDigits(data.first<4>(), values.msbFirst));
    const std::uint8_t status = data[5];
    values.add(MbusField::AccessNumber, data[4]);
    values.add(MbusField::Status, status);
    values.add(MbusField::StatusText, status & 0x1F);
    const std::uint8_t unit1 = data[6], unit2 = data[7];
    values.add(MbusField::FixedMedium, static_cast<std::uint8_t>((unit1 >> 6) | ((unit2 >> 6) << 2)));
    values.add(MbusField::CounterFormat, (status & kStatusBinary) ? 1 : 0);

    const bool stored = (status & kStatusStored) != 0;
    addCounter(values, begin + 8, unit1, status, stored);
    const bool historic = (unit2 & 0x3F) == kUnitHistoric;
    addCounter(values, begin + 12, historic ? unit1 : unit2, status, stored || historic);
}

}  // namespace mb
