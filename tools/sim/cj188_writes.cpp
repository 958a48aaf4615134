// The CJ/T 188 meter's reads beyond 901F and its writes: valve (A017), clock
// (A015), settlement day (A011), address (A018), synchronised reading (A016).
// What a write changes, a later read shows.
#include "tools/sim/cj188_meter.h"

namespace mb::sim {
namespace {

constexpr std::size_t kControl = 9, kData = 11;
constexpr std::uint8_t kOpen = 0x55, kClose = 0x99;

// Identifiers go low byte first; the other order is taken too.
std::uint16_t identifierOf(const Bytes& frame) {
    const std::uint8_t a = frame[kData], b = frame[kData + 1];
    return b >= 0x80 ? static_cast<std::uint16_t>(b << 8 | a)
                     : static_cast<std::uint16_t>(a << 8 | b);
}

std::optional<DateTime> bcdTime(const Bytes& d, std::size_t at) {
    unsigned v[7];
    for (std::size_t i = 0; i < 7; ++i) {
        const auto digit = fromBcdByte(d[at + i]);
        if (!digit) return std::nullopt;
        v[i] = *digit;
    }
    DateTime t{int(v[6] * 100 + v[5]), int(v[4]), int(v[3]), int(v[2]), int(v[1]), int(v[0])};
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
        t.second > 59)
        return std::nullopt;
    return t;
}

}  // namespace

std::string Cj188Meter::requestName(const Bytes& frame) {
    if (frame.size() < kData + 2) return "cj188 request";
    switch (identifierOf(frame)) {
        case 0x901F:
            return "cj188 read-data";
        case 0x810A:
            return "cj188 read-address";
        case 0xA017:
            return "cj188 valve";
        case 0xA015:
            return "cj188 set-clock";
        case 0xA011:
            return "cj188 set-settlement-day";
        case 0xA018:
            return "cj188 write-address";
        case 0xA016:
            return "cj188 write-sync-reading";
        default:
            return "cj188 read " + toHex(&frame[kData], 2);
    }
}

DateTime Cj188Meter::clockNow(const DateTime& now) const {
    return shiftedBy(now, clockOffsetSeconds_);
}

// ST1 D0-D1: 00 open, 01 closed; a valve on its way still shows where it was.
Bytes Cj188Meter::statusNow() {
    if (valveClosed_ != valveTarget_ &&
        Clock::now() - valveMoved_ >= std::chrono::milliseconds(settings_.valveMs))
        valveClosed_ = valveTarget_;
    Bytes status(settings_.status.begin(), settings_.status.end());
    status[0] = static_cast<std::uint8_t>((status[0] & ~0x03) | (valveClosed_ ? 0x01 : 0x00));
    return status;
}

// D120..D12B: the flow on the settlement day 1..12 months ago (10 m3 a month
// less each month back; heat in kWh on a heat meter); 8102 prices; 8103/8104
// the days; 8105 purchases and the status.
Bytes Cj188Meter::otherRead(const Bytes& frame, const DateTime& now) {
    (void)now;
    const std::uint8_t serial = frame[kData + 2];
    Bytes data{frame[kData], frame[kData + 1], serial};
    const std::uint16_t di = identifierOf(frame);
    if (di >= 0xD120 && di <= 0xD12B) {
        // A heat meter keeps its heat in kWh, the others their volume in m3.
        const std::uint64_t monthsBack = di - 0xD120u;
        const std::uint64_t step = 1000 * monthsBack;
        const std::uint64_t settled =
            isHeatMeter() ? settings_.settlementHeatHundredths : settings_.settlementHundredths;
        appendBcd(data, settled > step ? settled - step : 0, 4);
        data.push_back(isHeatMeter() ? kUnitKwh : kUnitCubicMetre);
    } else if (di == 0x8102) {
        for (unsigned v : {350u, 20u, 420u, 30u, 580u})
            appendBcd(data, v, 3);  // price 0.01, volume m3
    } else if (di == 0x8103) {
        data.push_back(bcdByte(settings_.settlementDay));
    } else if (di == 0x8104) {
        data.push_back(bcdByte(settings_.readingDay));
    } else if (di == 0x8105) {
        data.push_back(0x03);  // purchase number, binary
        for (std::uint64_t v : {10000u, 30000u, 12345u})
            appendBcd(data, v, 4);  // this, total, left; 0.01
        const Bytes status = statusNow();
        data.insert(data.end(), status.begin(), status.end());
    } else {
        const Bytes status = statusNow();
        return frameWith(0xC1, Bytes{serial, status[0], status[1]});
    }
    return frameWith(0x81, data);
}

Bytes Cj188Meter::write(const Bytes& frame, const DateTime& now) {
    const std::uint8_t control = frame[kControl];
    const std::uint8_t serial = frame[kData + 2];
    const std::size_t payload = kData + 3;
    const std::size_t size = frame[kData - 1] - 3u;
    const std::uint16_t di = identifierOf(frame);
    Bytes reply{frame[kData], frame[kData + 1], serial};
    bool done = false;
    if (control == 0x04 && di == 0xA017 && size == 1 &&
        (frame[payload] == kOpen || frame[payload] == kClose)) {
        const bool close = frame[payload] == kClose;
        if (close != valveTarget_) {
            valveTarget_ = close;
            valveMoved_ = Clock::now();
        }
        const Bytes status = statusNow();
        reply.insert(reply.end(), status.begin(), status.end());
        done = true;
    } else if (control == 0x04 && di == 0xA015 && size == 7) {
        if (const auto set = bcdTime(frame, payload)) {
            clockOffsetSeconds_ = secondsBetween(now, *set);
            done = true;
        }
    } else if (control == 0x04 && di == 0xA011 && size == 1) {
        const auto day = fromBcdByte(frame[payload]);
        if (day && *day >= 1 && *day <= 31) {
            settings_.settlementDay = *day;
            done = true;
        }
    } else if (control == 0x15 && di == 0xA018 && size == 7) {
        std::copy(frame.begin() + payload, frame.begin() + payload + 7, settings_.address.begin());
        done = true;  // the answer comes from the new address
    } else if (control == 0x16 && di == 0xA016 && size == 5) {
        std::uint64_t flow = 0;
        bool bcd = true;
        for (std::size_t i = 4; i-- > 0;) {
            const auto pair = fromBcdByte(frame[payload + i]);
            bcd = bcd && pair;
            flow = flow * 100 + pair.value_or(0);
        }
        if (bcd && frame[payload + 4] == kUnitCubicMetre) {
            settings_.flowHundredths = flow;
            const Bytes status = statusNow();
            reply.insert(reply.end(), status.begin(), status.end());
            done = true;
        }
    }
    if (done) return frameWith(static_cast<std::uint8_t>(control | 0x80), reply);
    const Bytes status = statusNow();
    return frameWith(static_cast<std::uint8_t>(control | 0xC0),
                     Bytes{serial, status[0], status[1]});
}

}  // namespace mb::sim
