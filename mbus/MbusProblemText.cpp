#include "mbus/MbusProblemText.h"

#include <algorithm>

#include "core/CountText.h"
#include "mbus/NumberText.h"

namespace mb {

void appendFrameProblem(std::string& out, const MbusValues& values) {
    const auto f = values.frame;
    switch (values.problem) {
        case MbusProblem::NoBytes: out += "no bytes"; return;
        case MbusProblem::AckFollowedByBytes:
            out += "single character E5 followed by ";
            out += countText(f.size() - 1, "more byte");
            return;
        case MbusProblem::ShortFrameLength:
            out += "short frame must be 5 bytes, got ";
            appendDecimal(out, f.size());
            return;
        case MbusProblem::LongFrameTooShort:
            out += "long frame too short: ";
            out += countText(f.size(), "byte");
            return;
        case MbusProblem::LengthBytesDiffer:
            out += "the two length bytes differ: ";
            appendHexByte(out, f[1]);
            out += " and ";
            appendHexByte(out, f[2]);
            return;
        case MbusProblem::SecondStartByte:
            out += "second start byte is ";
            appendHexByte(out, f[3]);
            out += ", not 68";
            return;
        case MbusProblem::LengthTooSmall:
            out += "length ";
            appendDecimal(out, f[1]);
            out += " leaves no room for C, A and CI";
            return;
        case MbusProblem::LengthMismatch:
            out += "length byte says ";
            appendDecimal(out, f[1] + 6);
            out += " bytes, frame has ";
            appendDecimal(out, f.size());
            return;
        case MbusProblem::NotMbus:
            out += "not an M-Bus frame: starts with ";
            appendHexByte(out, f[0]);
            return;
        case MbusProblem::Checksum:
            out += "checksum ";
            appendHexByte(out, values.problemByte[0]);
            out += " != computed ";
            appendHexByte(out, values.problemByte[1]);
            return;
        case MbusProblem::StopByte:
            out += "stop byte is ";
            appendHexByte(out, values.problemByte[0]);
            out += ", not 16";
            return;
        default: return;
    }
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

}  // namespace mb
