#include "mbus/MbusRequests.h"

#include "mbus/MbusFrameBytes.h"
#include "mbus/MbusProtocol.h"

namespace mb {
namespace {

std::vector<std::uint8_t> shortFrame(std::uint8_t c, std::uint8_t address) {
    return {mbusframe::kShortStart, c, address, static_cast<std::uint8_t>(c + address), mbusframe::kStop};
}

// 68 L L 68 + user data + CS 16, L counting the user data.
std::vector<std::uint8_t> longFrame(const std::vector<std::uint8_t>& userData) {
    const auto length = static_cast<std::uint8_t>(userData.size());
    std::vector<std::uint8_t> frame{mbusframe::kLongStart, length, length, mbusframe::kLongStart};
    std::uint8_t sum = 0;
    for (auto b : userData) {
        frame.push_back(b);
        sum = static_cast<std::uint8_t>(sum + b);
    }
    frame.push_back(sum);
    frame.push_back(mbusframe::kStop);
    return frame;
}

ExchangeRequest exchange(std::vector<std::uint8_t> bytes, Awaits awaits, const char* what) {
    ExchangeRequest r;
    r.protocol = &mbusProtocol();
    const std::optional<std::uint8_t> address = mbusRequestAddress(bytes);
    r.severalMayAnswer = address && *address >= kMbusAddressSelected;
    r.bytes = std::move(bytes);
    r.awaits = awaits;
    r.what = what;
    return r;
}

}  // namespace

std::vector<std::uint8_t> mbusSndNke(std::uint8_t address) { return shortFrame(0x40, address); }

std::vector<std::uint8_t> mbusReqUd2(std::uint8_t address, bool fcb) {
    return shortFrame(fcb ? 0x7B : 0x5B, address);
}

std::vector<std::uint8_t> mbusSetAddress(std::uint8_t address, std::uint8_t newAddress) {
    return longFrame({0x53, address, 0x51, 0x01, 0x7A, newAddress});
}

std::vector<std::uint8_t> mbusApplicationReset(std::uint8_t address) {
    return longFrame({0x53, address, 0x50});
}

std::vector<std::uint8_t> mbusSwitchBaud(std::uint8_t address, long baud) {
    static constexpr long kRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
    for (std::uint8_t i = 0; i < 8; ++i)
        if (kRates[i] == baud) return longFrame({0x53, address, static_cast<std::uint8_t>(0xB8 + i)});
    return {};
}

namespace {
// 1 = Monday .. 7 = Sunday, as type I counts them (Sakamoto's rule).
int weekday(const MbusDateTime& t) {
    static constexpr int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = t.month < 3 ? t.year - 1 : t.year;
    const int sundayZero =
        (y + y / 4 - y / 100 + y / 400 + kMonthOffset[(t.month + 11) % 12] + t.day) % 7;
    return sundayZero == 0 ? 7 : sundayZero;
}
}  // namespace

std::vector<std::uint8_t> mbusSetDateTime(std::uint8_t address, const MbusDateTime& t,
                                          MbusTimeType type) {
    // Types F and I: the year's three low bits sit above the day, its four high bits above the
    // month.
    const int year = t.year - 2000;
    const auto day = static_cast<std::uint8_t>((year & 0x07) << 5 | (t.day & 0x1F));
    const auto month = static_cast<std::uint8_t>((year & 0x78) << 1 | (t.month & 0x0F));
    if (type == MbusTimeType::F)
        return longFrame({0x53, address, 0x51, 0x04, 0x6D,
                          static_cast<std::uint8_t>(t.minute & 0x3F),
                          static_cast<std::uint8_t>(t.hour & 0x1F), day, month});
    return longFrame({0x53, address, 0x51, 0x06, 0x6D, static_cast<std::uint8_t>(t.second & 0x3F),
                      static_cast<std::uint8_t>(t.minute & 0x3F),
                      static_cast<std::uint8_t>(weekday(t) << 5 | (t.hour & 0x1F)), day, month,
                      0x00});
}

std::vector<std::uint8_t> mbusSelect(const SecondaryMask& mask) {
    std::vector<std::uint8_t> data{0x53, kMbusAddressSelected, 0x52};
    for (int i = 7; i >= 1; i -= 2)  // BCD bytes, least significant pair first
        data.push_back(static_cast<std::uint8_t>(mask.idDigits[i - 1] << 4 | mask.idDigits[i]));
    data.push_back(static_cast<std::uint8_t>(mask.manufacturer & 0xFF));
    data.push_back(static_cast<std::uint8_t>(mask.manufacturer >> 8));
    data.push_back(mask.version);
    data.push_back(mask.medium);
    return longFrame(data);
}

ExchangeRequest mbusReadExchange(std::vector<std::uint8_t> bytes) {
    return exchange(std::move(bytes), Awaits::Reading, "Read Data");
}

ExchangeRequest mbusAcknowledgedExchange(std::vector<std::uint8_t> bytes, const char* what) {
    return exchange(std::move(bytes), Awaits::Acknowledge, what);
}

}  // namespace mb
