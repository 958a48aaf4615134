#include "tools/sim/mbus_meter.h"

#include <algorithm>
#include <cstdio>

namespace mb::sim {

namespace {
constexpr std::uint8_t kReqUd2 = 0x5B, kReqUd2Fcb = 0x7B;
constexpr std::uint8_t kSndUd = 0x53, kSndUdFcb = 0x73;
constexpr std::uint8_t kSndNke = 0x40;
constexpr std::uint8_t kRspUd = 0x08;
constexpr std::uint8_t kCiDataSend = 0x51, kCiVariableReply = 0x72;
// Selection by secondary address: fields least significant byte first (52) or
// most significant byte first (56).
constexpr std::uint8_t kCiSelect = 0x52, kCiSelectMsbFirst = 0x56;
constexpr std::size_t kSelectFrameSize = 17;  // 68 0B 0B 68 C FD CI mask(8) CS 16

// Date and time as M-Bus type F: minute, hour, day with year bits, month with year bits.
void appendTypeF(Bytes& out, const DateTime& t) {
    const unsigned year = static_cast<unsigned>(t.year % 100);
    out.push_back(static_cast<std::uint8_t>(t.minute & 0x3F));
    out.push_back(static_cast<std::uint8_t>(t.hour & 0x1F));
    out.push_back(static_cast<std::uint8_t>((t.day & 0x1F) | (year & 0x07) << 5));
    out.push_back(static_cast<std::uint8_t>((t.month & 0x0F) | (year & 0x78) << 1));
}

// Day of the week, 1 = Monday .. 7 = Sunday (Gregorian calendar).
int dayOfWeek(const DateTime& t) {
    static constexpr int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int year = t.month < 3 ? t.year - 1 : t.year;
    const int sundayIsZero =
        (year + year / 4 - year / 100 + year / 400 + kMonthOffset[(t.month - 1) % 12] + t.day) % 7;
    return sundayIsZero == 0 ? 7 : sundayIsZero;
}

// Date and time as M-Bus type I: seconds, minutes, hour with the day of the week,
// day and month with the year bits as in type F, and the week (0: not given).
void appendTypeI(Bytes& out, const DateTime& t) {
    const unsigned year = static_cast<unsigned>(t.year % 100);
    out.push_back(static_cast<std::uint8_t>(t.second & 0x3F));
    out.push_back(static_cast<std::uint8_t>(t.minute & 0x3F));
    out.push_back(static_cast<std::uint8_t>((t.hour & 0x1F) | dayOfWeek(t) << 5));
    out.push_back(static_cast<std::uint8_t>((t.day & 0x1F) | (year & 0x07) << 5));
    out.push_back(static_cast<std::uint8_t>((t.month & 0x0F) | (year & 0x78) << 1));
    out.push_back(0x00);
}

void appendRecord(Bytes& out, std::uint8_t dif, std::uint8_t vif) {
    out.push_back(dif);
    out.push_back(vif);
}
}  // namespace

std::optional<std::uint16_t> packManufacturer(const std::string& letters) {
    if (letters.size() != 3) return std::nullopt;
    std::uint16_t code = 0;
    for (char c : letters) {
        if (c < 'A' || c > 'Z') return std::nullopt;
        code = static_cast<std::uint16_t>(code << 5 | (c - 'A' + 1));
    }
    return code;
}

MbusMeter::MbusMeter(MbusSettings settings)
    : settings_(std::move(settings)),
      manufacturerCode_(packManufacturer(settings_.manufacturer).value_or(0)) {}

std::string MbusMeter::name() const {
    char text[48];
    std::snprintf(text, sizeof text, "mbus id %08u at %u", static_cast<unsigned>(settings_.identNumber),
                  static_cast<unsigned>(settings_.primaryAddress));
    return text;
}

bool MbusMeter::addressedToMe(std::uint8_t address) const {
    return address == settings_.primaryAddress || address == kBroadcastWithReply ||
           (address == kNetworkLayer && selected_);
}

// Each field of the mask either matches this meter or is a wildcard: an F digit
// of the identification number, FFFF for the manufacturer, FF for version or medium.
bool MbusMeter::matchesSecondary(const Bytes& frame) const {
    Bytes mask(frame.begin() + 7, frame.begin() + 15);
    if (frame[6] == kCiSelectMsbFirst) {
        std::reverse(mask.begin(), mask.begin() + 4);
        std::reverse(mask.begin() + 4, mask.begin() + 6);
    }
    Bytes ident;
    appendBcd(ident, settings_.identNumber, 4);
    for (std::size_t i = 0; i < 4; ++i) {
        for (int shift : {0, 4}) {
            const int wanted = mask[i] >> shift & 0x0F;
            if (wanted != 0x0F && wanted != (ident[i] >> shift & 0x0F)) return false;
        }
    }
    const unsigned manufacturer = mask[4] | mask[5] << 8;
    return (manufacturer == 0xFFFF || manufacturer == manufacturerCode_) &&
           (mask[6] == 0xFF || mask[6] == settings_.version) &&
           (mask[7] == 0xFF || mask[7] == settings_.medium);
}

MbusAnswer MbusMeter::classify(const Bytes& frame) const {
    if (frame.size() == 5 && frame[0] == 0x10) {
        if (!addressedToMe(frame[2])) return MbusAnswer::NotForMe;
        if (frame[1] == kReqUd2 || frame[1] == kReqUd2Fcb) return MbusAnswer::ReadData;
        if (frame[1] == kSndNke) return MbusAnswer::Initialise;
        return MbusAnswer::NotForMe;
    }
    // 68 06 06 68 C A 51 01 7A N CS 16
    if (frame.size() == 12 && frame[0] == 0x68 && frame[1] == 6 && frame[2] == 6 &&
        frame[3] == 0x68 && (frame[4] == kSndUd || frame[4] == kSndUdFcb) &&
        addressedToMe(frame[5]) && frame[6] == kCiDataSend && frame[7] == 0x01 && frame[8] == 0x7A)
        return MbusAnswer::SetAddress;
    // 68 03 03 68 C A CI CS 16: application reset (50), baud switch (B8..BF).
    if (frame.size() == 9 && frame[0] == 0x68 && frame[1] == 3 && frame[2] == 3 && frame[3] == 0x68 &&
        (frame[4] == kSndUd || frame[4] == kSndUdFcb) && addressedToMe(frame[5])) {
        if (frame[6] == 0x50) return MbusAnswer::ApplicationReset;
        if (frame[6] >= 0xB8 && frame[6] <= 0xBF) return MbusAnswer::SwitchBaud;
    }
    // 68 09 09 68 C A 51 04 6D type F (4 bytes) CS 16, or 68 0B 0B 68 C A 51 06 6D type I (6 bytes)
    // CS 16
    const bool typeF = frame.size() == 15 && frame[1] == 9 && frame[2] == 9 && frame[7] == 0x04;
    const bool typeI =
        frame.size() == 17 && frame[1] == 0x0B && frame[2] == 0x0B && frame[7] == 0x06;
    if ((typeF || typeI) && frame[0] == 0x68 && frame[3] == 0x68 &&
        (frame[4] == kSndUd || frame[4] == kSndUdFcb) && addressedToMe(frame[5]) &&
        frame[6] == kCiDataSend && frame[8] == 0x6D)
        return MbusAnswer::SetDateTime;
    // 68 0B 0B 68 C FD 52|56 mask(8) CS 16: every meter hears a selection.
    if (frame.size() == kSelectFrameSize && frame[0] == 0x68 && frame[1] == 0x0B &&
        frame[2] == 0x0B && frame[3] == 0x68 && (frame[4] == kSndUd || frame[4] == kSndUdFcb) &&
        frame[5] == kNetworkLayer && (frame[6] == kCiSelect || frame[6] == kCiSelectMsbFirst))
        return MbusAnswer::Select;
    return MbusAnswer::NotForMe;
}

std::optional<Bytes> MbusMeter::answer(const Bytes& frame, const DateTime& now) {
    if (baud_ != 0 && lineBaud_ != 0 && lineBaud_ != baud_) return std::nullopt;  // garbage at its rate
    switch (classify(frame)) {
        case MbusAnswer::ApplicationReset:
            accessNumber_ = 0;
            return Bytes{kAck};
        case MbusAnswer::SwitchBaud: {
            static constexpr unsigned kRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
            baud_ = kRates[frame[6] - 0xB8];
            return Bytes{kAck};  // at the old rate; the line follows after it
        }
        case MbusAnswer::ReadData:
            return readNext(frame[1] == kReqUd2Fcb, now);
        case MbusAnswer::Initialise:
            // At 253 it reaches only a selected meter, and ends the selection.
            if (frame[2] == kNetworkLayer) selected_ = false;
            accessNumber_ = 0;
            lastFcb_ = false;  // the first REQ_UD2 after it carries FCB 1
            telegram_ = 0;
            lastTelegram_.clear();
            return Bytes{kAck};
        case MbusAnswer::Select:
            selected_ = matchesSecondary(frame);
            if (!selected_) return std::nullopt;
            return Bytes{kAck};
        case MbusAnswer::SetAddress:
            if (frame[9] > kHighestPrimary) return std::nullopt;
            settings_.primaryAddress = frame[9];
            return Bytes{kAck};
        case MbusAnswer::SetDateTime: {
            // Type F: minute, hour, day with the year's low bits, month with its high bits;
            // type I puts the second in front (and the weekday above the hour).
            const bool withSeconds = frame[7] == 0x06;
            const std::size_t at = withSeconds ? 10 : 9;  // the minute
            const DateTime set{2000 + ((frame[at + 2] >> 5) | (frame[at + 3] >> 4) << 3),
                               frame[at + 3] & 0x0F,
                               frame[at + 2] & 0x1F,
                               frame[at + 1] & 0x1F,
                               frame[at] & 0x3F,
                               withSeconds ? frame[9] & 0x3F : 0};
            if (set.month < 1 || set.month > 12 || set.day < 1 || set.hour > 23 ||
                set.minute > 59 || set.second > 59)
                return std::nullopt;
            // Type F has no seconds: the meter's seconds start again from zero now, so
            // the set minute shows for a whole minute whatever the machine's second was.
            clockOffsetSeconds_ = secondsBetween(now, set);
            return Bytes{kAck};
        }
        case MbusAnswer::NotForMe:
            break;
    }
    return std::nullopt;
}

// Telegram `telegram_` of `telegrams`: the header and its share of the records,
// all but the last ending with DIF 1F (more records follow).
Bytes MbusMeter::telegramOf(const Bytes& user, const std::vector<std::size_t>& starts) const {
    const std::size_t count = starts.size(), parts = settings_.telegrams;
    const std::size_t first = telegram_ * count / parts, last = (telegram_ + 1) * count / parts;
    Bytes out(user.begin(), user.begin() + static_cast<long>(starts.front()));
    const std::size_t from = starts[first], to = last < count ? starts[last] : user.size();
    out.insert(out.end(), user.begin() + static_cast<long>(from), user.begin() + static_cast<long>(to));
    if (telegram_ + 1 < parts) out.push_back(0x1F);
    return out;
}

// A toggled FCB asks for the next telegram; the same FCB again repeats the
// last one (the master did not get it). One telegram: always a fresh readout.
Bytes MbusMeter::readNext(bool fcb, const DateTime& now) {
    if (settings_.telegrams <= 1) return readout(now);
    if (fcb == lastFcb_ && !lastTelegram_.empty()) return lastTelegram_;
    if (!lastTelegram_.empty()) telegram_ = (telegram_ + 1) % settings_.telegrams;
    lastFcb_ = fcb;
    lastTelegram_ = readout(now);
    return lastTelegram_;
}

Bytes MbusMeter::readout(const DateTime& machineNow) {
    const DateTime now = shiftedBy(machineNow, clockOffsetSeconds_);
    Bytes user{kRspUd, settings_.primaryAddress, kCiVariableReply};
    // Fixed header: ident BCD, manufacturer, version, medium, access no, status, signature.
    appendBcd(user, settings_.identNumber, 4);
    user.push_back(static_cast<std::uint8_t>(manufacturerCode_ & 0xFF));
    user.push_back(static_cast<std::uint8_t>(manufacturerCode_ >> 8));
    user.push_back(settings_.version);
    user.push_back(settings_.medium);
    user.push_back(accessNumber_++);
    user.push_back(0x00);  // status: no error
    user.push_back(0x00);
    user.push_back(0x00);  // signature: no encryption
    std::vector<std::size_t> starts;  // where each record begins, to spread them over telegrams
    const auto record = [&](std::uint8_t dif, std::uint8_t vif) {
        starts.push_back(user.size());
        appendRecord(user, dif, vif);
    };

    record(0x0C, 0x06);  // energy, kWh, 8-digit BCD
    appendBcd(user, settings_.energyKwh, 4);
    record(0x0C, 0x14);  // volume, 0.01 m3
    appendBcd(user, settings_.volumeHundredths, 4);
    record(0x0B, 0x2B);  // power, W, 6-digit BCD
    appendBcd(user, settings_.powerWatt, 3);
    record(0x0B, 0x3B);  // volume flow, l/h
    appendBcd(user, settings_.flowLitresPerHour, 3);
    record(0x0A, 0x5A);  // flow temperature, 0.1 degC, 4-digit BCD
    appendBcd(user, settings_.flowTempTenths, 2);
    record(0x0A, 0x5E);  // return temperature, 0.1 degC
    appendBcd(user, settings_.returnTempTenths, 2);
    const unsigned difference = settings_.flowTempTenths > settings_.returnTempTenths
                                    ? settings_.flowTempTenths - settings_.returnTempTenths
                                    : 0;
    record(0x0B, 0x61);  // temperature difference, 0.01 K
    appendBcd(user, difference * 10, 3);
    record(0x04, 0x6D);  // date and time, type F
    appendTypeF(user, now);
    record(0x0A, 0x27);  // operating time, days
    appendBcd(user, settings_.operatingDays, 2);
    record(0x0C, 0x78);  // fabrication number
    appendBcd(user, settings_.identNumber, 4);
    // Records that exercise more of a decoder: a stored value, a maximum, type I.
    record(0x4C, 0x06);  // energy at storage 1, kWh
    appendBcd(user, settings_.settlementEnergyKwh, 4);
    record(0x1B, 0x2B);  // maximum power, W (function field 01)
    appendBcd(user, settings_.maxPowerWatt, 3);
    record(0x06, 0x6D);  // date and time, type I (48 bits)
    appendTypeI(user, now);

    if (settings_.telegrams > 1) user = telegramOf(user, starts);
    const auto length = static_cast<std::uint8_t>(user.size());
    Bytes out;
    out.reserve(user.size() + 6);
    for (std::uint8_t b : {std::uint8_t{0x68}, length, length, std::uint8_t{0x68}})
        out.push_back(b);
    out.insert(out.end(), user.begin(), user.end());
    out.push_back(sum8(user, 0, user.size()));
    out.push_back(0x16);
    return out;
}

}  // namespace mb::sim
