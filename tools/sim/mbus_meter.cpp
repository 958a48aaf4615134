#include "tools/sim/mbus_meter.h"

namespace mb::sim {

namespace {
constexpr std::uint8_t kReqUd2 = 0x5B, kReqUd2Fcb = 0x7B;
constexpr std::uint8_t kSndUd = 0x53, kSndUdFcb = 0x73;
constexpr std::uint8_t kSndNke = 0x40;
constexpr std::uint8_t kRspUd = 0x08;
constexpr std::uint8_t kCiDataSend = 0x51, kCiVariableReply = 0x72;

// Date and time as M-Bus type F: minute, hour, day with year bits, month with year bits.
void appendTypeF(Bytes& out, const DateTime& t) {
    const unsigned year = static_cast<unsigned>(t.year % 100);
    out.push_back(static_cast<std::uint8_t>(t.minute & 0x3F));
    out.push_back(static_cast<std::uint8_t>(t.hour & 0x1F));
    out.push_back(static_cast<std::uint8_t>((t.day & 0x1F) | (year & 0x07) << 5));
    out.push_back(static_cast<std::uint8_t>((t.month & 0x0F) | (year & 0x78) << 1));
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

bool MbusMeter::addressedToMe(std::uint8_t address) const {
    return address == settings_.primaryAddress || address == kBroadcastWithReply;
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
    return MbusAnswer::NotForMe;
}

std::optional<Bytes> MbusMeter::answer(const Bytes& frame, const DateTime& now) {
    switch (classify(frame)) {
        case MbusAnswer::ReadData:
            return readout(now);
        case MbusAnswer::Initialise:
            accessNumber_ = 0;
            return Bytes{kAck};
        case MbusAnswer::SetAddress:
            if (frame[9] > kHighestPrimary) return std::nullopt;
            settings_.primaryAddress = frame[9];
            return Bytes{kAck};
        case MbusAnswer::NotForMe:
            break;
    }
    return std::nullopt;
}

Bytes MbusMeter::readout(const DateTime& now) {
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

    appendRecord(user, 0x0C, 0x06);  // energy, kWh, 8-digit BCD
    appendBcd(user, settings_.energyKwh, 4);
    appendRecord(user, 0x0C, 0x14);  // volume, 0.01 m3
    appendBcd(user, settings_.volumeHundredths, 4);
    appendRecord(user, 0x0B, 0x2B);  // power, W, 6-digit BCD
    appendBcd(user, settings_.powerWatt, 3);
    appendRecord(user, 0x0B, 0x3B);  // volume flow, l/h
    appendBcd(user, settings_.flowLitresPerHour, 3);
    appendRecord(user, 0x0A, 0x5A);  // flow temperature, 0.1 degC, 4-digit BCD
    appendBcd(user, settings_.flowTempTenths, 2);
    appendRecord(user, 0x0A, 0x5E);  // return temperature, 0.1 degC
    appendBcd(user, settings_.returnTempTenths, 2);
    const unsigned difference = settings_.flowTempTenths > settings_.returnTempTenths
                                    ? settings_.flowTempTenths - settings_.returnTempTenths
                                    : 0;
    appendRecord(user, 0x0B, 0x61);  // temperature difference, 0.01 K
    appendBcd(user, difference * 10, 3);
    appendRecord(user, 0x04, 0x6D);  // date and time, type F
    appendTypeF(user, now);
    appendRecord(user, 0x0A, 0x27);  // operating time, days
    appendBcd(user, settings_.operatingDays, 2);
    appendRecord(user, 0x0C, 0x78);  // fabrication number
    appendBcd(user, settings_.identNumber, 4);

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
