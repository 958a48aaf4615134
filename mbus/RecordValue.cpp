#include "mbus/RecordValue.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "mbus/DateTimeTypes.h"
#include "mbus/NumberText.h"

namespace mb {
namespace {

std::string withUnit(std::string number, const std::string& unit) {
    if (unit.empty()) return number;
    return number + " " + unit;
}

void fillNumber(Record& r, const ValueMeaning& m, const DataValue& d) {
    r.unit = m.unit;
    if (d.type == DataValue::Type::Integer) {
        const double raw = static_cast<double>(d.integer);
        r.value = scaledValue(raw, m.exponent) * m.factor + m.offset;
        r.display = withUnit(scaledDecimal(d.integer, m.displayExponent), m.displayUnit);
    } else {
        r.value = scaledValue(d.real, m.exponent) * m.factor + m.offset;
        r.display = withUnit(shortReal(scaledValue(d.real, m.displayExponent)), m.displayUnit);
    }
}

void fillDate(Record& r, std::span<const std::uint8_t> bytes, bool msbFirst) {
    std::array<std::uint8_t, 8> ordered{};
    const std::size_t n = std::min(bytes.size(), ordered.size());
    for (std::size_t i = 0; i < n; ++i) ordered[i] = msbFirst ? bytes[n - 1 - i] : bytes[i];
    const DateTimeText t = decodeDateTime(std::span<const std::uint8_t>(ordered.data(), n));
    if (!t.error.empty()) {
        r.error = t.error;
        return;
    }
    r.value = t.iso;
    r.display = t.display;
    if (t.summerTime) r.display += " (summer time)";
    if (t.invalid) {
        r.display += " (invalid)";
        r.error = "the meter marks this date/time invalid";
    }
}

void fillFlags(Record& r, const DataValue& d, std::size_t size) {
    r.value = static_cast<double>(d.unsignedValue);
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", static_cast<int>(std::max<std::size_t>(size, 1) * 2),
                  static_cast<unsigned long long>(d.unsignedValue));
    r.display = text;
}

}  // namespace

void fillRecordValue(Record& r, const ValueMeaning& m, const DataValue& d,
                     std::span<const std::uint8_t> fieldBytes, bool msbFirst) {
    if (!d.error.empty()) {
        r.error = d.error;
        return;
    }
    if (d.type == DataValue::Type::None) {
        r.unit = m.unit;
        r.display = "(no data)";
        return;
    }
    const bool integer = d.type == DataValue::Type::Integer;
    const bool number = integer || d.type == DataValue::Type::Real;
    if (m.kind == ValueKind::Raw || d.type == DataValue::Type::Binary) {
        r.value = hexBytes(fieldBytes);
        r.display = std::get<std::string>(r.value);
        return;
    }
    if (d.type == DataValue::Type::Text) {
        r.value = d.text;
        r.display = withUnit(d.text, m.displayUnit);
        return;
    }
    switch (m.kind) {
        case ValueKind::Date:
            if (fieldBytes.size() != 2) {
                r.error = "a date needs a 16-bit data field";
                return;
            }
            [[fallthrough]];
        case ValueKind::DateTime:
            if (!integer || d.bcd) {
                r.error = "a date/time needs an integer data field";
                return;
            }
            fillDate(r, fieldBytes, msbFirst);
            return;
        case ValueKind::Identifier:
            r.value = d.bcd ? d.text : integer ? std::to_string(d.unsignedValue) : shortReal(d.real);
            r.display = std::get<std::string>(r.value);
            return;
        case ValueKind::Flags:
            if (integer) {
                fillFlags(r, d, fieldBytes.size());
                return;
            }
            break;
        default: break;
    }
    if (number) fillNumber(r, m, d);
}

}  // namespace mb
