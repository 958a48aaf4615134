#include "cj188/Cj188ReadingView.h"

#include "cj188/Cj188FieldText.h"
#include "cj188/Cj188Names.h"
#include "core/CountText.h"

namespace mb {
namespace {

constexpr std::size_t kFixedHeaderFields = 5;  // meter type, medium, address, control code, command
constexpr auto text = &HeaderFieldView::ofText;

void appendFrameProblem(std::string& out, const Cj188Values& v) {
    const auto f = v.frame;
    switch (v.problem) {
        case Cj188Problem::None: return;
        case Cj188Problem::NothingAfterWakeUp: out += "no frame: nothing after the wake-up bytes"; return;
        case Cj188Problem::NoStartByte:
            out += "no frame: starts with ";
            appendCj188Hex(out, f.first(1));
            out += ", not 68";
            return;
        case Cj188Problem::HeaderTooShort:
            out += "no frame: ";
            out += countText(f.size(), "byte");
            out += ", a header needs 11";
            return;
        case Cj188Problem::LengthMismatch:
            out += "length byte says ";
            out += countText(std::size_t{f[10]} + 13, "byte");
            out += ", frame has ";
            out += std::to_string(f.size());
            return;
        case Cj188Problem::Checksum:
            out += "checksum ";
            appendCj188Hex(out, f.subspan(std::size_t{f[10]} + 11, 1));
            out += " != computed ";
            appendCj188Hex(out, {&v.computedSum, 1});
            return;
        case Cj188Problem::StopByte:
            out += "stop byte is ";
            appendCj188Hex(out, f.subspan(std::size_t{f[10]} + 12, 1));
            out += ", not 16";
            return;
    }
}

}  // namespace

std::string_view Cj188ReadingView::frameProblem(bool wanted) const {
    if (!wanted) return {};
    problem_.clear();
    appendFrameProblem(problem_, v_);
    return problem_;
}

std::string_view Cj188ReadingView::error() const {
    return frameProblem(v_.isFrameError());
}

std::string_view Cj188ReadingView::checkProblem() const {
    return frameProblem(v_.isCheckProblem());
}

bool Cj188ReadingView::meterError() const {
    return v_.checkPassed && cj188IsErrorReply(v_.frame[9]);
}

std::size_t Cj188ReadingView::headerCount() const {
    if (!v_.hasHeader) return 0;
    return kFixedHeaderFields + (v_.hasDataIdentifier ? 1 : 0) + (v_.hasSequence ? 1 : 0);
}

HeaderFieldView Cj188ReadingView::headerField(std::size_t index) const {
    const auto f = v_.frame;
    header_.clear();
    switch (index) {
        case 0: appendCj188Hex(header_, f.subspan(1, 1)); return text("meter_type", "Meter type", header_);
        case 1: return text("medium", "Medium", cj188MeterTypeText(f[1]));
        case 2: appendPlateAddress(header_, f.subspan(2, 7)); return text("address", "Address", header_);
        case 3: appendCj188Hex(header_, f.subspan(9, 1)); return text("control", "Control code", header_);
        case 4: appendCj188ControlText(header_, f[9]); return text("command", "Command", header_);
        default: break;
    }
    if (index == kFixedHeaderFields && v_.hasDataIdentifier) {
        // Low byte first, so the plate order prints DI1 DI0: "901F".
        const std::uint8_t lowFirst[] = {static_cast<std::uint8_t>(v_.dataIdentifier),
                                         static_cast<std::uint8_t>(v_.dataIdentifier >> 8)};
        appendPlateAddress(header_, lowFirst);
        return text("di", "Data identifier", header_);
    }
    HeaderFieldView sequence;
    sequence.key = "ser";
    sequence.label = "Sequence";
    sequence.isNumber = true;
    sequence.number = v_.sequence;
    return sequence;
}

RecordView Cj188ReadingView::record(std::size_t index, bool withDisplay) const {
    const Cj188Record& r = v_.records[index];
    RecordView out;
    out.quantity = r.quantity;
    out.rawBytes = v_.frame.subspan(r.at, r.size);
    describeCj188Field(v_, r, out, value_, display_, withDisplay);
    return out;
}

}  // namespace mb
