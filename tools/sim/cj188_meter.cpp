#include "tools/sim/cj188_meter.h"

#include <algorithm>

namespace mb::sim {

namespace {
constexpr std::uint8_t kWildcard = 0xAA;
constexpr std::size_t kControl = 9, kLength = 10, kData = 11;

// Real time: ss mm hh DD MM YY(low) YY(high), all BCD.
void appendRealTime(Bytes& data, const DateTime& now) {
    data.push_back(bcdByte(now.second));
    data.push_back(bcdByte(now.minute));
    data.push_back(bcdByte(now.hour));
    data.push_back(bcdByte(now.day));
    data.push_back(bcdByte(now.month));
    data.push_back(bcdByte(now.year % 100));
    data.push_back(bcdByte(now.year / 100 % 100));
}

bool hasIdentifier(const Bytes& frame, std::uint8_t high, std::uint8_t low) {
    // Vendors send the identifier in either byte order; both mean the same request.
    const std::uint8_t a = frame[kData], b = frame[kData + 1];
    return (a == low && b == high) || (a == high && b == low);
}
}  // namespace

std::optional<std::array<std::uint8_t, 7>> parseCj188Address(const std::string& digits) {
    if (digits.size() != 14) return std::nullopt;
    std::array<std::uint8_t, 7> address{};
    for (std::size_t pair = 0; pair < 7; ++pair) {
        char high = digits[2 * pair], low = digits[2 * pair + 1];
        if (high < '0' || high > '9' || low < '0' || low > '9') return std::nullopt;
        address[6 - pair] = static_cast<std::uint8_t>((high - '0') << 4 | (low - '0'));
    }
    return address;
}

std::string formatCj188Address(const std::array<std::uint8_t, 7>& address) {
    std::string text;
    for (int i = 6; i >= 0; --i) text += toHex(&address[i], 1);
    return text;
}

Cj188Settings cj188HeatDefaults() {
    Cj188Settings s;
    s.address = {0x01, 0x00, 0x00, 0x00, 0x00, 0x33, 0x78};
    s.meterType = 0x20;
    return s;
}

std::string Cj188Meter::name() const {
    return std::string(isHeatMeter() ? "cj188 heat " : "cj188 water ") +
           formatCj188Address(settings_.address);
}

bool Cj188Meter::addressedToMe(const Bytes& frame) const {
    const bool typeMatches = frame[1] == settings_.meterType || frame[1] == kWildcard;
    const auto first = frame.begin() + 2, last = frame.begin() + 9;
    const bool own = std::equal(first, last, settings_.address.begin());
    const bool wildcard = std::all_of(first, last, [](std::uint8_t b) { return b == kWildcard; });
    return typeMatches && (own || wildcard);
}

Cj188Answer Cj188Meter::classify(const Bytes& frame) const {
    if (frame.size() < 13 || frame[0] != 0x68 || frame[kLength] < 3 ||
        frame.size() != frame[kLength] + 13u || !addressedToMe(frame))
        return Cj188Answer::NotForMe;
    if (frame[kControl] == 0x01 && hasIdentifier(frame, 0x90, 0x1F)) return Cj188Answer::ReadData;
    if (frame[kControl] == 0x03 && hasIdentifier(frame, 0x81, 0x0A))
        return Cj188Answer::ReadAddress;
    if (frame[kControl] == 0x01) return Cj188Answer::ReadOther;
    if (frame[kControl] == 0x04 || frame[kControl] == 0x15 || frame[kControl] == 0x16)
        return Cj188Answer::Write;
    return Cj188Answer::NotForMe;
}

Bytes Cj188Meter::frameWith(std::uint8_t control, const Bytes& data) const {
    Bytes out(kWakeUpBytes, 0xFE);
    const std::size_t start = out.size();
    out.push_back(0x68);
    out.push_back(settings_.meterType);
    out.insert(out.end(), settings_.address.begin(), settings_.address.end());
    out.push_back(control);
    out.push_back(static_cast<std::uint8_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(sum8(out, start, out.size()));
    out.push_back(0x16);
    return out;
}

std::optional<Bytes> Cj188Meter::answer(const Bytes& frame, const DateTime& now) {
    const std::uint8_t serial = frame.size() > kData + 2 ? frame[kData + 2] : 0;
    switch (classify(frame)) {
        case Cj188Answer::ReadData:
            return frameWith(0x81, isHeatMeter() ? heatData(serial, now) : waterData(serial, now));
        case Cj188Answer::ReadAddress:
            return frameWith(0x83, Bytes{0x81, 0x0A, serial});
        case Cj188Answer::ReadOther: return otherRead(frame, now);
        case Cj188Answer::Write: return write(frame, now);
        case Cj188Answer::NotForMe:
            break;
    }
    return std::nullopt;
}

Bytes Cj188Meter::waterData(std::uint8_t serial, const DateTime& now) {
    settings_.flowHundredths += 1;
    Bytes data{0x90, 0x1F, serial};
    appendBcd(data, settings_.flowHundredths, 4);
    data.push_back(kUnitCubicMetre);
    appendBcd(data, settings_.settlementHundredths, 4);
    data.push_back(kUnitCubicMetre);
    appendRealTime(data, clockNow(now));
    const Bytes status = statusNow();
    data.insert(data.end(), status.begin(), status.end());
    return data;
}

// Each read moves heat on by 0.01 kWh and the volume by 0.01 m3, like a running meter.
Bytes Cj188Meter::heatData(std::uint8_t serial, const DateTime& now) {
    settings_.heatHundredths += 1;
    settings_.flowHundredths += 1;
    Bytes data{0x90, 0x1F, serial};
    auto field = [&data](std::uint64_t value, std::uint8_t unit) {
        appendBcd(data, value, 4);
        data.push_back(unit);
    };
    field(settings_.settlementHeatHundredths, kUnitKwh);
    field(settings_.heatHundredths, kUnitKwh);
    field(settings_.powerHundredths, kUnitKw);
    field(settings_.flowRateTenThousandths, kUnitCubicMetrePerHour);
    field(settings_.flowHundredths, kUnitCubicMetre);
    appendBcd(data, settings_.supplyTempHundredths, 3);
    appendBcd(data, settings_.returnTempHundredths, 3);
    appendBcd(data, settings_.workingHours, 3);
    appendRealTime(data, clockNow(now));
    const Bytes status = statusNow();
    data.insert(data.end(), status.begin(), status.end());
    return data;
}

}  // namespace mb::sim
