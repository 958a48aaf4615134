#include "mbus/MbusHeaderText.h"

#include <array>
#include <string_view>

#include "mbus/AppHeader.h"
#include "mbus/Medium.h"
#include "mbus/NumberText.h"

namespace mb {
namespace {

void appendFrameName(std::string& out, std::uint8_t c) {
    switch (c) {
        case 0x40: out += "SND_NKE"; return;
        case 0x53: case 0x73: out += "SND_UD"; return;
        case 0x5B: case 0x7B: out += "REQ_UD2"; return;
        case 0x5A: case 0x7A: out += "REQ_UD1"; return;
        default: break;
    }
    if ((c & 0xCF) == 0x08) {
        out += "RSP_UD";
        return;
    }
    out += "C=";
    appendHexByte(out, c);
}

std::string_view applicationText(std::uint8_t ci) {
    switch (ci) {
        case 0x72: return "Variable data, long header";
        case 0x76: return "Variable data, long header, high byte first";
        case 0x7A: return "Variable data, short header";
        case 0x78: return "Variable data, no header";
        case 0x73: return "Fixed data";
        case 0x77: return "Fixed data, high byte first";
        case 0x51: return "Data send";
        case 0x55: return "Data send, high byte first";
        case 0x52: return "Select secondary address";
        case 0x56: return "Select secondary address, high byte first";
        case 0x70: return "Application error";
        case 0x71: return "Alarm";
        case 0x50: return "Application reset";
        default: break;
    }
    return ci >= 0xB8 && ci <= 0xBF ? "Set baud rate" : "Not decoded";
}

void appendApplicationError(std::string& out, std::uint32_t code) {
    static constexpr std::array<std::string_view, 10> kErrors = {
        "unspecified error", "unimplemented CI", "buffer too long, truncated", "too many records",
        "premature end of record", "more than 10 DIFEs", "more than 10 VIFEs", "reserved",
        "application too busy", "too many readouts"};
    if (code == kNoErrorCode) {
        out += "no error code sent";
    } else if (code < kErrors.size()) {
        out += kErrors[code];
    } else {
        out += "reserved error ";
        appendHexByte(out, static_cast<std::uint8_t>(code));
    }
}

constexpr auto number = &HeaderFieldView::ofNumber;
constexpr auto text = &HeaderFieldView::ofText;

}  // namespace

HeaderFieldView mbusHeaderField(const MbusHeaderItem& item, std::string& s) {
    const std::uint32_t v = item.value;
    const auto byte = static_cast<std::uint8_t>(v);
    s.clear();
    switch (item.field) {
        case MbusField::Acknowledge: return text("frame", "Frame", "Acknowledge (E5)");
        case MbusField::Frame: appendFrameName(s, byte); return text("frame", "Frame", s);
        case MbusField::CField: appendHexByte(s, byte); return text("c_field", "C field", s);
        case MbusField::Address: return number("address", "Address", v);
        case MbusField::Ci: appendHexByte(s, byte); return text("ci", "CI field", s);
        case MbusField::Application: return text("ci_text", "Application", applicationText(byte));
        case MbusField::Id: appendIdDigits(s, v); return text("id", "Identification", s);
        case MbusField::Manufacturer:
            appendManufacturerText(s, static_cast<std::uint16_t>(v));
            return text("manufacturer", "Manufacturer", s);
        case MbusField::ManufacturerOrAny:
            if (v == 0xFFFF) return text("manufacturer", "Manufacturer", "any");
            appendManufacturerText(s, static_cast<std::uint16_t>(v));
            return text("manufacturer", "Manufacturer", s);
        case MbusField::Version: return number("version", "Version", v);
        case MbusField::Medium: appendMediumText(s, byte); return text("medium", "Medium", s);
        case MbusField::MediumOrAny:
            if (byte == 0xFF) return text("medium", "Medium", "any");
            appendMediumText(s, byte);
            return text("medium", "Medium", s);
        case MbusField::MediumCode: return number("medium_code", "Medium code", v);
        case MbusField::AccessNumber: return number("access_number", "Access number", v);
        case MbusField::Status: return number("status", "Status", v);
        case MbusField::StatusText: appendStatusText(s, byte); return text("status_text", "Status bits", s);
        case MbusField::Signature: return number("signature", "Signature", v);
        case MbusField::EncryptionMode: return number("encryption_mode", "Encryption mode", v);
        case MbusField::MoreRecordsFollow: return text("more_records_follow", "More records follow", "yes");
        case MbusField::FixedMedium: return text("medium", "Medium", fixedMediumText(byte));
        case MbusField::CounterFormat: return text("counter_format", "Counter format", v ? "binary" : "BCD");
        case MbusField::ApplicationError:
            appendApplicationError(s, v);
            return text("application_error", "Application error", s);
        case MbusField::ApplicationErrorCode: return number("application_error_code", "Application error code", v);
        case MbusField::Alarm: return number("alarm", "Alarm", v);
        case MbusField::ResetSubcode: return number("reset_subcode", "Reset subcode", v);
        case MbusField::BaudRate: return number("baud_rate", "Baud rate", v);
    }
    return {};
}

}  // namespace mb
