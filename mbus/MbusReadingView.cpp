#include "mbus/MbusReadingView.h"

#include <algorithm>
#include <cstdio>

#include "mbus/DateTimeTypes.h"
#include "mbus/FixedData.h"
#include "mbus/MbusHeaderText.h"
#include "mbus/MbusProblemText.h"
#include "mbus/NumberText.h"

namespace mb {
namespace {

constexpr std::uint8_t kLvar = 0x0D;

void appendWithUnit(std::string& out, std::string_view unit) {
    if (unit.empty()) return;
    out += ' ';
    out += unit;
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
