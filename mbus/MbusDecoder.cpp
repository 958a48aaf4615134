#include "mbus/MbusDecoder.h"

#include <cstring>

#include "mbus/AppHeader.h"
#include "mbus/DataRecords.h"
#include "mbus/FixedData.h"
#include "mbus/MbusFrameBytes.h"
#include "mbus/MbusReadingView.h"

namespace mb {
namespace {

using namespace mbusframe;
constexpr std::size_t kLongOverhead = 6;  // 68 L L 68 ... CS 16
constexpr std::size_t kLinkFields = 7;    // 68 L L 68 C A CI
constexpr std::size_t kLongHeader = 12;
constexpr std::size_t kShortHeader = 4;
constexpr std::size_t kSelectLength = 8;

// The arithmetic sum of the bytes, modulo 256. Eight bytes at a time: their
// even and odd bytes add up in 16-bit lanes, which a frame (at most 255
// bytes, 32 words) cannot overflow.
std::uint8_t checksum(std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t kLowBytes = 0x00FF00FF00FF00FF;
    std::uint64_t lanes = 0;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        lanes += (word & kLowBytes) + ((word >> 8) & kLowBytes);
    }
    unsigned sum = 0;
    for (int shift = 0; shift < 64; shift += 16) sum += static_cast<unsigned>(lanes >> shift) & 0xFFFF;
    for (; i < bytes.size(); ++i) sum += bytes[i];
    return static_cast<std::uint8_t>(sum);
}

void fail(MbusValues& v, MbusProblem problem) {
    v.problem = problem;
    v.headerCount = 0;
    v.records.clear();
}

void failCheck(MbusValues& v, MbusProblem problem, std::uint8_t sent, std::uint8_t computed = 0) {
    fail(v, problem);
    v.problemByte[0] = sent;
    v.problemByte[1] = computed;
}

// Checks a long frame's envelope; true when every check passes.
bool checkLong(MbusValues& v) {
    const auto f = v.frame;
    if (f.size() < 4) return fail(v, MbusProblem::LongFrameTooShort), false;
    if (f[1] != f[2]) return fail(v, MbusProblem::LengthBytesDiffer), false;
    if (f[3] != kLongStart) return fail(v, MbusProblem::SecondStartByte), false;
    const std::size_t userLength = f[1];
    if (userLength < 3) return fail(v, MbusProblem::LengthTooSmall), false;
    if (f.size() != userLength + kLongOverhead) return fail(v, MbusProblem::LengthMismatch), false;
    const std::uint8_t sum = checksum(f.subspan(4, userLength));
    if (f[4 + userLength] != sum) return failCheck(v, MbusProblem::Checksum, f[4 + userLength], sum), false;
    if (f[5 + userLength] != kStop) return failCheck(v, MbusProblem::StopByte, f[5 + userLength]), false;
    return true;
}

// Bytes no decoder takes, kept with the reason as one record.
void addUndecoded(MbusValues& v, std::size_t begin, MbusProblem problem, std::uint8_t code = 0,
                  std::uint16_t needed = 0) {
    if (begin >= v.userDataEnd) return;
    MbusRecord& r = v.records.emplace_back();
    r.kind = MbusRecordKind::Undecoded;
    r.shown = MbusShown::Error;
    r.function = RecordFunction::Other;
    r.problem = problem;
    r.problemCode = code;
    r.needed = needed;
    r.start = static_cast<std::uint16_t>(begin);
    r.end = v.userDataEnd;
}

// Variable data behind a 12- or 4-byte header or none.
void variableData(MbusValues& v, std::size_t begin, std::size_t headerLength) {
    const auto data = v.frame.subspan(begin, v.userDataEnd - begin);
    if (data.size() < headerLength) {
        addUndecoded(v, begin, MbusProblem::DataHeaderShort, 0, static_cast<std::uint16_t>(headerLength));
        return;
    }
    std::uint16_t signature = 0;
    if (headerLength == kLongHeader) {
        addLongHeader(v, data.first<kLongHeader>(), v.msbFirst);
        signature = v.msbFirst ? data[10] << 8 | data[11] : data[11] << 8 | data[10];
    } else if (headerLength == kShortHeader) {
        addShortHeader(v, data.first<kShortHeader>(), v.msbFirst);
        signature = v.msbFirst ? data[2] << 8 | data[3] : data[3] << 8 | data[2];
    }
    const auto records = data.subspan(headerLength);
    // Decrypted data starts with two idle fillers; anything else is still ciphertext.
    const bool decrypted = records.size() >= 2 && records[0] == 0x2F && records[1] == 0x2F;
    if (const unsigned mode = encryptionMode(signature); mode != 0 && !decrypted) {
        addUndecoded(v, begin + headerLength, MbusProblem::Encrypted, static_cast<std::uint8_t>(mode));
        return;
    }
    decodeDataRecords(v, begin + headerLength);
}

void selectSecondary(MbusValues& v, std::size_t begin) {
    const auto data = v.frame.subspan(begin, v.userDataEnd - begin);
    if (data.size() != kSelectLength) {
        addUndecoded(v, begin, MbusProblem::SecondaryAddressLength);
        return;
    }
    v.add(MbusField::Id, idDigits(data.first<4>(), v.msbFirst));
    const std::uint16_t man = v.msbFirst ? data[4] << 8 | data[5] : data[5] << 8 | data[4];
    v.add(MbusField::ManufacturerOrAny, man == 0xFFFF ? man : man & 0x7FFF);
    v.add(MbusField::Version, data[6]);
    v.add(MbusField::MediumOrAny, data[7]);
}

// One byte of meaning after the CI (error code, alarm, reset subcode), then
// nothing else.
void oneByte(MbusValues& v, std::size_t begin, MbusField field, MbusProblem extra) {
    if (begin >= v.userDataEnd) return;
    v.add(field, v.frame[begin]);
    addUndecoded(v, begin + 1, extra);
}

void applicationData(MbusValues& v, std::uint8_t ci, std::size_t begin) {
    v.add(MbusField::Application, ci);
    switch (ci) {
        case 0x72: return variableData(v, begin, kLongHeader);
        case 0x76: v.msbFirst = true; return variableData(v, begin, kLongHeader);
        case 0x7A: return variableData(v, begin, kShortHeader);
        case 0x78: return variableData(v, begin, 0);
        case 0x73: return decodeFixedData(v, begin);
        case 0x77: v.msbFirst = true; return decodeFixedData(v, begin);
        case 0x51: v.fromMaster = true; return decodeDataRecords(v, begin);
        case 0x55: v.msbFirst = v.fromMaster = true; return decodeDataRecords(v, begin);
        case 0x52: return selectSecondary(v, begin);
        case 0x56: v.msbFirst = true; return selectSecondary(v, begin);
        case 0x70:
            if (begin >= v.userDataEnd) return v.add(MbusField::ApplicationError, kNoErrorCode);
            v.add(MbusField::ApplicationError, v.frame[begin]);
            return oneByte(v, begin, MbusField::ApplicationErrorCode, MbusProblem::ExtraAfterErrorCode);
        case 0x71: return oneByte(v, begin, MbusField::Alarm, MbusProblem::ExtraAfterAlarm);
        case 0x50: return oneByte(v, begin, MbusField::ResetSubcode, MbusProblem::ExtraAfterResetSubcode);
        default: break;
    }
    if (ci >= 0xB8 && ci <= 0xBF) return v.add(MbusField::BaudRate, 300u << (ci - 0xB8));
    addUndecoded(v, begin, MbusProblem::CiNotDecoded, ci);
}

void addLinkFields(MbusValues& v, std::uint8_t c, std::uint8_t a) {
    v.add(MbusField::Frame, c);
    v.add(MbusField::CField, c);
    v.add(MbusField::Address, a);
}

}  // namespace

void decodeMbusValues(std::span<const std::uint8_t> f, MbusValues& v) {
    v.frame = f;
    v.checkPassed = false;
    v.problem = MbusProblem::None;
    v.userDataEnd = 0;
    v.msbFirst = v.fromMaster = false;
    v.headerCount = 0;
    v.records.clear();
    if (f.empty()) return fail(v, MbusProblem::NoBytes);
    switch (f[0]) {
        case kAck:
            if (f.size() != 1) return fail(v, MbusProblem::AckFollowedByBytes);
            v.checkPassed = true;
            v.add(MbusField::Acknowledge);
            return;
        case kShortStart: {
            if (f.size() != kShortFrameBytes) return fail(v, MbusProblem::ShortFrameLength);
            const std::uint8_t sum = checksum(f.subspan(1, 2));
            if (f[3] != sum) return failCheck(v, MbusProblem::Checksum, f[3], sum);
            if (f[4] != kStop) return failCheck(v, MbusProblem::StopByte, f[4]);
            v.checkPassed = true;
            addLinkFields(v, f[1], f[2]);
            return;
        }
        case kLongStart: {
            if (!checkLong(v)) return;
            v.checkPassed = true;
            v.userDataEnd = static_cast<std::uint16_t>(4 + f[1]);
            addLinkFields(v, f[4], f[5]);
            v.add(MbusField::Ci, f[6]);
            applicationData(v, f[6], kLinkFields);
            return;
        }
        default: return fail(v, MbusProblem::NotMbus);
    }
}

Reading decodeMbusFrame(std::span<const std::uint8_t> frame) {
    MbusValues values;
    values.records.reserve(frame.size() / 2 + 1);  // a record takes two bytes or more, but for DIF 7F
    decodeMbusValues(frame, values);
    return readingOf(MbusReadingView(values));
}

}  // namespace mb
