#include "mbus/MbusReadingView.h"

#include <algorithm>
#include <cstdio>

#include "core/CountText.h"
#include "mbus/DateTimeTypes.h"
#include "mbus/FixedData.h"
#include "mbus/MbusHeaderText.h"
#include "mbus/NumberText.h"

namespace mb {
namespace {

constexpr std::uint8_t kLvar = 0x0D;

void appendWithUnit(std::string& out, std::string_view unit) {
    if (unit.empty()) return;
    out += ' ';
    out += unit;
}

void appendRecordProblem(std::string& out, const MbusRecord& r, const VifBlock& vif) {
    const auto size = static_cast<std::size_t>(r.end - r.start);
    switch (r.problem) {
        case MbusProblem::DifeChainEnds: out += "record ends inside its DIFE chain"; return;
        case MbusProblem::TooManyDifes: out += "more than 10 DIFEs"; return;
        case MbusProblem::Vif: appendVifProblem(out, vif); return;
        case MbusProblem::LvarMissing: out += "record ends before its LVAR byte"; return;
        case MbusProblem::ReservedLvar:
            out += "reserved LVAR value ";
            appendHexByte(out, r.problemCode);
            return;
        case MbusProblem::Truncated:
            out += "record truncated: data field needs ";
            out += countText(r.needed, "byte");
            out += ", ";
            appendDecimal(out, r.end - r.data);
            out += " left";
            return;
        case MbusProblem::ReservedDif:
            out += "reserved DIF ";
            appendHexByte(out, r.problemCode);
            return;
        case MbusProblem::BadBcdDigit:
            out += "not a BCD number: digit ";
            out += "0123456789ABCDEF"[r.problemCode & 0x0F];
            return;
        case MbusProblem::DateNeeds16Bits: out += "a date needs a 16-bit data field"; return;
        case MbusProblem::DateNeedsInteger: out += "a date/time needs an integer data field"; return;
        case MbusProblem::DateLength:
            out += "no date/time type is ";
            out += countText(std::min<std::size_t>(r.end - r.data, 8), "byte");
            out += " long";
            return;
        case MbusProblem::DateMarkedInvalid: out += "the meter marks this date/time invalid"; return;
        case MbusProblem::DataHeaderShort:
            out += "data header needs ";
            appendDecimal(out, r.needed);
            out += " bytes, got ";
            appendDecimal(out, size);
            return;
        case MbusProblem::Encrypted:
            out += "data encrypted (mode ";
            appendDecimal(out, r.problemCode);
            out += "), not decoded";
            return;
        case MbusProblem::SecondaryAddressLength:
            out += "secondary address needs 8 bytes, got ";
            appendDecimal(out, size);
            return;
        case MbusProblem::ExtraAfterErrorCode: out += "extra bytes after the application error code"; return;
        case MbusProblem::ExtraAfterAlarm: out += "extra bytes after the alarm byte"; return;
        case MbusProblem::ExtraAfterResetSubcode: out += "extra bytes after the reset subcode"; return;
        case MbusProblem::CiNotDecoded:
            out += "application data for CI ";
            appendHexByte(out, r.problemCode);
            out += " is not decoded";
            return;
        case MbusProblem::FixedDataLength:
            out += "fixed data structure needs 16 bytes, got ";
            appendDecimal(out, size);
            return;
        default: return;
    }
}

}  // namespace

std::string_view MbusReadingView::frameProblem(bool wanted) const {
    if (!wanted) return {};
    problem_.clear();
    appendFrameProblem(problem_, v_);
    return problem_;
}

std::string_view MbusReadingView::error() const {
    return frameProblem(v_.isFrameError());
}

std::string_view MbusReadingView::checkProblem() const {
    return frameProblem(v_.isCheckProblem());
}

HeaderFieldView MbusReadingView::headerField(std::size_t index) const {
    return mbusHeaderField(v_.header[index], header_);
}

std::span<const std::uint8_t> MbusReadingView::bytes(std::size_t from, std::size_t to) const {
    return v_.frame.subspan(from, to - from);
}

// The record's quantity and units into names_; the VIF block read again when
// the record has one.
VifBlock MbusReadingView::names(const MbusRecord& r) const {
    names_.quantity.clear();
    names_.unit.clear();
    names_.displayUnit.clear();
    const bool hasVif = r.kind == MbusRecordKind::Data ||
                        (r.kind == MbusRecordKind::Undecoded && (r.quantityFromVif || r.problem == MbusProblem::Vif));
    if (hasVif) {
        VifNames* wanted = r.problem == MbusProblem::Vif && r.kind == MbusRecordKind::Undecoded ? nullptr : &names_;
        VifScale scale;
        return decodeVif(bytes(r.vif, v_.userDataEnd), v_.fromMaster, scale, wanted);
    }
    if (r.kind == MbusRecordKind::Counter) nameMeaning(names_, fixedUnitMeaning(r.counterUnit));
    return {};
}

void MbusReadingView::value(const MbusRecord& r, RecordView& out, bool withDisplay) const {
    const auto field = bytes(r.data, r.end);
    auto textValue = [&](std::string_view text) {
        out.valueType = RecordView::Value::Text;
        out.text = text;
        out.display = text;
    };
    value_.clear();
    display_.clear();
    switch (r.shown) {
        case MbusShown::Nothing:
            out.unit = names_.unit;
            out.display = "(no data)";
            return;
        case MbusShown::Selection:
            out.unit = names_.unit;
            out.display = "(readout selection)";
            return;
        case MbusShown::Hex:
            appendHexBytes(value_, field);
            return textValue(value_);
        case MbusShown::Text:
            appendLvarText(value_, field);
            textValue(value_);
            if (withDisplay) {
                display_ = value_;
                appendWithUnit(display_, names_.displayUnit);
                out.display = display_;
            }
            return;
        case MbusShown::DateTime: {
            const DateTimeParts t = decodeDateTime(lsbOrder(field, v_.msbFirst).span());
            appendIsoDateTime(value_, t);
            out.valueType = RecordView::Value::Text;
            out.text = value_;
            if (withDisplay) {
                appendDisplayDateTime(display_, t);
                if (t.summerTime) display_ += " (summer time)";
                if (t.invalid) display_ += " (invalid)";
                out.display = display_;
            }
            return;
        }
        case MbusShown::Digits:
            if (r.raw.coding == DataCoding::Bcd) {
                const bool lvar = r.kind == MbusRecordKind::Data && (v_.frame[r.start] & 0x0F) == kLvar;
                appendBcdDigits(value_, lvar ? field : lsbOrder(field, v_.msbFirst).span(), r.raw.minus);
            } else if (r.raw.coding == DataCoding::Integer) {
                appendDecimal(value_, r.raw.bits);
            } else {
                appendShortReal(value_, r.raw.real);
            }
            return textValue(value_);
        case MbusShown::Flags: {
            out.valueType = RecordView::Value::Number;
            out.number = r.value;
            if (withDisplay) {
                char text[24];
                const int width = static_cast<int>(std::max<std::size_t>(field.size(), 1) * 2);
                const int n = std::snprintf(text, sizeof text, "0x%0*llX", width,
                                            static_cast<unsigned long long>(r.raw.bits));
                display_.assign(text, static_cast<std::size_t>(n));
                out.display = display_;
            }
            return;
        }
        case MbusShown::Number:
            out.unit = names_.unit;
            out.valueType = RecordView::Value::Number;
            out.number = r.value;
            if (withDisplay) {
                if (r.raw.coding == DataCoding::Real) {
                    appendShortReal(display_, scaledValue(r.raw.real, r.scale.displayExponent));
                } else {
                    appendScaledDecimal(display_, r.raw.integer, r.scale.displayExponent);
                }
                appendWithUnit(display_, names_.displayUnit);
                out.display = display_;
            }
            return;
        case MbusShown::Error: return;
    }
}

RecordView MbusReadingView::record(std::size_t index, bool withDisplay) const {
    const MbusRecord& r = v_.records[index];
    RecordView out;
    out.function = r.function;
    out.rawBytes = bytes(r.start, r.end);
    const VifBlock vif = names(r);
    switch (r.kind) {
        case MbusRecordKind::Data:
        case MbusRecordKind::Counter:
            out.quantity = names_.quantity;
            out.storage = r.storage;
            out.tariff = r.tariff;
            out.subunit = r.subunit;
            value(r, out, withDisplay);
            break;
        case MbusRecordKind::GlobalReadout: out.quantity = "Global readout request"; break;
        case MbusRecordKind::ManufacturerData:
            out.quantity = "Manufacturer specific data";
            value_.clear();
            appendHexBytes(value_, bytes(r.start + 1, r.end));
            out.valueType = RecordView::Value::Text;
            out.text = value_;
            out.display = value_;
            break;
        case MbusRecordKind::Undecoded:
            if (r.quantityFromVif) out.quantity = names_.quantity;
            break;
    }
    if (r.problem != MbusProblem::None) {
        error_.clear();
        appendRecordProblem(error_, r, vif);
        out.error = error_;
    }
    return out;
}

}  // namespace mb
