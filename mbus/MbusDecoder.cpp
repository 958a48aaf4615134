#include "mbus/MbusDecoder.h"

#include <array>
#include <string_view>

#include "core/CountText.h"
#include "mbus/AppHeader.h"
#include "mbus/DataRecords.h"
#include "mbus/FixedData.h"
#include "mbus/Medium.h"
#include "mbus/NumberText.h"

namespace mb {
namespace {

constexpr std::uint8_t kAck = 0xE5;
constexpr std::uint8_t kShortStart = 0x10;
constexpr std::uint8_t kLongStart = 0x68;
constexpr std::uint8_t kStop = 0x16;
constexpr std::size_t kShortLength = 5;
constexpr std::size_t kLongOverhead = 6;  // 68 L L 68 ... CS 16
constexpr std::size_t kLongHeader = 12;
constexpr std::size_t kShortHeader = 4;
constexpr std::size_t kSelectLength = 8;

std::string hexByte(std::uint8_t b) {
    return hexBytes(std::span<const std::uint8_t>(&b, 1));
}

std::uint8_t checksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    return static_cast<std::uint8_t>(sum);
}

std::string frameName(std::uint8_t c) {
    switch (c) {
        case 0x40: return "SND_NKE";
        case 0x53: case 0x73: return "SND_UD";
        case 0x5B: case 0x7B: return "REQ_UD2";
        case 0x5A: case 0x7A: return "REQ_UD1";
        default: break;
    }
    if ((c & 0xCF) == 0x08) return "RSP_UD";
    return "C=" + hexByte(c);
}

bool fail(Reading& r, std::string why) {
    r.error = std::move(why);
    r.header.clear();
    r.records.clear();
    return false;
}

// A whole frame whose checksum or stop byte is wrong: it is a frame, it fails.
bool failCheck(Reading& r, std::string why) {
    r.checkProblem = std::move(why);
    r.header.clear();
    r.records.clear();
    return false;
}

// Checks a long frame's envelope; true when every check passes.
bool checkLong(Reading& r, std::span<const std::uint8_t> f) {
    if (f.size() < 4) return fail(r, "long frame too short: " + countText(f.size(), "byte"));
    if (f[1] != f[2]) return fail(r, "the two length bytes differ: " + hexByte(f[1]) + " and " + hexByte(f[2]));
    if (f[3] != kLongStart) return fail(r, "second start byte is " + hexByte(f[3]) + ", not 68");
    const std::size_t userLength = f[1];
    if (userLength < 3) return fail(r, "length " + std::to_string(userLength) + " leaves no room for C, A and CI");
    if (f.size() != userLength + kLongOverhead) {
        return fail(r, "length byte says " + std::to_string(userLength + kLongOverhead) + " bytes, frame has " +
                           std::to_string(f.size()));
    }
    const std::uint8_t sum = checksum(f.subspan(4, userLength));
    if (f[4 + userLength] != sum) {
        return failCheck(r, "checksum " + hexByte(f[4 + userLength]) + " != computed " + hexByte(sum));
    }
    if (f[5 + userLength] != kStop) return failCheck(r, "stop byte is " + hexByte(f[5 + userLength]) + ", not 16");
    return true;
}

std::string applicationErrorText(std::uint8_t code) {
    static constexpr std::array<std::string_view, 10> kErrors = {
        "unspecified error", "unimplemented CI", "buffer too long, truncated", "too many records",
        "premature end of record", "more than 10 DIFEs", "more than 10 VIFEs", "reserved",
        "application too busy", "too many readouts"};
    return code < kErrors.size() ? std::string(kErrors[code]) : "reserved error " + hexByte(code);
}

void addRecords(Reading& r, std::span<const std::uint8_t> data, const RecordOptions& options) {
    RecordWalk walk = decodeDataRecords(data, options);
    if (walk.moreRecordsFollow) r.header.push_back({"more_records_follow", "More records follow", std::string("yes")});
    r.records = std::move(walk.records);
}

void addUndecoded(Reading& r, std::span<const std::uint8_t> data, std::string why) {
    if (data.empty()) return;
    Record rec;
    rec.function = RecordFunction::Other;
    rec.error = std::move(why);
    rec.rawHex = hexBytes(data);
    r.records.push_back(std::move(rec));
}

// Variable data behind a 12- or 4-byte header or none.
void variableData(Reading& r, std::span<const std::uint8_t> data, std::size_t headerLength, bool msbFirst) {
    if (data.size() < headerLength) {
        addUndecoded(r, data, "data header needs " + std::to_string(headerLength) + " bytes, got " +
                                  std::to_string(data.size()));
        return;
    }
    std::uint16_t signature = 0;
    if (headerLength == kLongHeader) {
        appendLongHeader(r.header, data.first<kLongHeader>(), msbFirst);
        signature = msbFirst ? data[10] << 8 | data[11] : data[11] << 8 | data[10];
    } else if (headerLength == kShortHeader) {
        appendShortHeader(r.header, data.first<kShortHeader>(), msbFirst);
        signature = msbFirst ? data[2] << 8 | data[3] : data[3] << 8 | data[2];
    }
    const auto records = data.subspan(headerLength);
    // Decrypted data starts with two idle fillers; anything else is still ciphertext.
    const bool decrypted = records.size() >= 2 && records[0] == 0x2F && records[1] == 0x2F;
    if (const unsigned mode = encryptionMode(signature); mode != 0 && !decrypted) {
        addUndecoded(r, records, "data encrypted (mode " + std::to_string(mode) + "), not decoded");
        return;
    }
    addRecords(r, records, {msbFirst, false});
}

void selectSecondary(Reading& r, std::span<const std::uint8_t> data, bool msbFirst) {
    if (data.size() != kSelectLength) {
        addUndecoded(r, data, "secondary address needs 8 bytes, got " + std::to_string(data.size()));
        return;
    }
    r.header.push_back({"id", "Identification", idDigits(data.first<4>(), msbFirst)});
    const std::uint16_t man = msbFirst ? data[4] << 8 | data[5] : data[5] << 8 | data[4];
    r.header.push_back({"manufacturer", "Manufacturer", man == 0xFFFF ? std::string("any") : manufacturerText(man & 0x7FFF)});
    r.header.push_back({"version", "Version", std::int64_t{data[6]}});
    r.header.push_back({"medium", "Medium", data[7] == 0xFF ? std::string("any") : mediumText(data[7])});
}

void applicationData(Reading& r, std::uint8_t ci, std::span<const std::uint8_t> data) {
    auto text = [&](const char* what) { r.header.push_back({"ci_text", "Application", std::string(what)}); };
    switch (ci) {
        case 0x72: text("Variable data, long header"); return variableData(r, data, kLongHeader, false);
        case 0x76: text("Variable data, long header, high byte first"); return variableData(r, data, kLongHeader, true);
        case 0x7A: text("Variable data, short header"); return variableData(r, data, kShortHeader, false);
        case 0x78: text("Variable data, no header"); return variableData(r, data, 0, false);
        case 0x73: text("Fixed data"); return decodeFixedData(r, data, false);
        case 0x77: text("Fixed data, high byte first"); return decodeFixedData(r, data, true);
        case 0x51: text("Data send"); return addRecords(r, data, {false, true});
        case 0x55: text("Data send, high byte first"); return addRecords(r, data, {true, true});
        case 0x52: text("Select secondary address"); return selectSecondary(r, data, false);
        case 0x56: text("Select secondary address, high byte first"); return selectSecondary(r, data, true);
        case 0x70:
            text("Application error");
            if (data.empty()) {
                r.header.push_back({"application_error", "Application error", std::string("no error code sent")});
                return;
            }
            r.header.push_back({"application_error", "Application error", applicationErrorText(data[0])});
            r.header.push_back({"application_error_code", "Application error code", std::int64_t{data[0]}});
            return addUndecoded(r, data.subspan(1), "extra bytes after the application error code");
        case 0x71:
            text("Alarm");
            if (!data.empty()) r.header.push_back({"alarm", "Alarm", std::int64_t{data[0]}});
            return addUndecoded(r, data.subspan(data.empty() ? 0 : 1), "extra bytes after the alarm byte");
        case 0x50:
            text("Application reset");
            if (!data.empty()) r.header.push_back({"reset_subcode", "Reset subcode", std::int64_t{data[0]}});
            return addUndecoded(r, data.subspan(data.empty() ? 0 : 1), "extra bytes after the reset subcode");
        default: break;
    }
    if (ci >= 0xB8 && ci <= 0xBF) {
        text("Set baud rate");
        r.header.push_back({"baud_rate", "Baud rate", std::int64_t{300} << (ci - 0xB8)});
        return;
    }
    text("Not decoded");
    addUndecoded(r, data, "application data for CI " + hexByte(ci) + " is not decoded");
}

void addLinkFields(Reading& r, std::uint8_t c, std::uint8_t a) {
    r.header.push_back({"frame", "Frame", frameName(c)});
    r.header.push_back({"c_field", "C field", hexByte(c)});
    r.header.push_back({"address", "Address", std::int64_t{a}});
}

}  // namespace

Reading decodeMbusFrame(std::span<const std::uint8_t> f) {
    Reading r;
    r.protocol = "mbus";
    if (f.empty()) {
        r.error = "no bytes";
        return r;
    }
    switch (f[0]) {
        case kAck:
            if (f.size() != 1) {
                r.error = "single character E5 followed by " + countText(f.size() - 1, "more byte");
                return r;
            }
            r.checkPassed = true;
            r.header.push_back({"frame", "Frame", std::string("Acknowledge (E5)")});
            return r;
        case kShortStart: {
            if (f.size() != kShortLength) {
                r.error = "short frame must be 5 bytes, got " + std::to_string(f.size());
                return r;
            }
            const std::uint8_t sum = checksum(f.subspan(1, 2));
            if (f[3] != sum) {
                r.checkProblem = "checksum " + hexByte(f[3]) + " != computed " + hexByte(sum);
                return r;
            }
            if (f[4] != kStop) {
                r.checkProblem = "stop byte is " + hexByte(f[4]) + ", not 16";
                return r;
            }
            r.checkPassed = true;
            addLinkFields(r, f[1], f[2]);
            return r;
        }
        case kLongStart: {
            if (!checkLong(r, f)) return r;
            r.checkPassed = true;
            const std::size_t userLength = f[1];
            addLinkFields(r, f[4], f[5]);
            const std::uint8_t ci = f[6];
            r.header.push_back({"ci", "CI field", hexByte(ci)});
            applicationData(r, ci, f.subspan(7, userLength - 3));
            return r;
        }
        default:
            r.error = "not an M-Bus frame: starts with " + hexByte(f[0]);
            return r;
    }
}

}  // namespace mb
