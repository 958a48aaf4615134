#include "mbus/RecordValue.h"

#include "mbus/DateTimeTypes.h"
#include "mbus/NumberText.h"

namespace mb {
namespace {

MbusShown failed(MbusRecord& r, MbusProblem problem) {
    r.problem = problem;
    return MbusShown::Error;
}

MbusShown dateTime(MbusRecord& r, std::span<const std::uint8_t> field, bool msbFirst) {
    const DateTimeParts t = decodeDateTime(lsbOrder(field, msbFirst).span());
    if (t.type == DateTimeParts::Type::None) return failed(r, MbusProblem::DateLength);
    if (t.invalid) r.problem = MbusProblem::DateMarkedInvalid;  // shown, and marked an error
    return MbusShown::DateTime;
}

MbusShown shownAs(MbusRecord& r, const DataValue& d, ValueKind kind, std::span<const std::uint8_t> field,
                  bool msbFirst) {
    if (d.coding == DataCoding::BadBcd) {
        r.problemCode = d.badDigit;
        return failed(r, MbusProblem::BadBcdDigit);
    }
    if (d.coding == DataCoding::None) return MbusShown::Nothing;
    if (kind == ValueKind::Raw || d.coding == DataCoding::Binary) return MbusShown::Hex;
    if (d.coding == DataCoding::Text) return MbusShown::Text;
    const bool integer = d.coding == DataCoding::Integer || d.coding == DataCoding::Bcd;
    switch (kind) {
        case ValueKind::Date:
            if (field.size() != 2) return failed(r, MbusProblem::DateNeeds16Bits);
            [[fallthrough]];
        case ValueKind::DateTime:
            if (d.coding != DataCoding::Integer) return failed(r, MbusProblem::DateNeedsInteger);
            return dateTime(r, field, msbFirst);
        case ValueKind::Identifier: return MbusShown::Digits;
        case ValueKind::Flags:
            if (integer) return MbusShown::Flags;
            break;
        default: break;
    }
    return MbusShown::Number;
}

}  // namespace

void setRecordValue(MbusRecord& r, std::span<const std::uint8_t> field, bool msbFirst) {
    const DataValue& d = r.raw;
    const VifScale& scale = r.scale;
    r.shown = shownAs(r, d, scale.kind, field, msbFirst);
    if (r.shown == MbusShown::Number) {
        const double raw = d.coding == DataCoding::Real ? d.real : static_cast<double>(d.integer);
        r.value = scaledValue(raw, scale.exponent) * scale.factor + scale.offset;
    } else if (r.shown == MbusShown::Flags) {
        r.value = static_cast<double>(d.bits);
    }
}

}  // namespace mb
