#include "cj188/Cj188Requests.h"

#include <algorithm>

#include "cj188/Cj188Protocol.h"

namespace mb {
namespace {

constexpr std::size_t kWakeUpBytes = 3;

int plateDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c == 'A' || c == 'a') return 0xA;
    return -1;
}

std::uint8_t bcd(int value) { return static_cast<std::uint8_t>((value / 10 % 10) << 4 | value % 10); }

// The address bytes of a request; wildcards anywhere make it a broadcast.
bool addressesSeveral(const std::vector<std::uint8_t>& bytes) {
    const auto address = bytes.begin() + kWakeUpBytes + 2;
    return bytes.size() > kWakeUpBytes + 9 &&
           std::any_of(address, address + 7, [](std::uint8_t b) { return b == 0xAA; });
}

ExchangeRequest exchange(std::vector<std::uint8_t> bytes, Awaits awaits, const char* what) {
    ExchangeRequest r;
    r.protocol = &cj188Protocol();
    r.severalMayAnswer = addressesSeveral(bytes);
    r.bytes = std::move(bytes);
    r.awaits = awaits;
    r.what = what;
    return r;
}

}  // namespace

std::optional<Cj188Address> cj188AddressFromPlate(std::string_view plate) {
    if (plate.size() != 14) return std::nullopt;
    Cj188Address address{};
    for (std::size_t i = 0; i < 7; ++i) {
        const int high = plateDigit(plate[2 * i]);
        const int low = plateDigit(plate[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        address[6 - i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return address;
}

bool cj188IsReadable(std::uint16_t dataId) {
    using namespace cj188di;
    return dataId == kCurrent || (dataId >= kHistoryFirst && dataId <= kHistoryLast) ||
           (dataId >= kPrices && dataId <= kPurchase);
}

std::vector<std::uint8_t> cj188Request(std::uint8_t meterType, const Cj188Address& address,
                                       std::uint8_t control, std::uint16_t dataId,
                                       const std::vector<std::uint8_t>& data, std::uint8_t serial) {
    std::vector<std::uint8_t> frame(kWakeUpBytes, cj188frame::kWakeUp);
    frame.push_back(cj188frame::kStart);
    frame.push_back(meterType);
    frame.insert(frame.end(), address.begin(), address.end());
    // L counts DI, SER and the data.
    for (std::uint8_t b : {control, std::uint8_t(3 + data.size()), std::uint8_t(dataId & 0xFF),
                           std::uint8_t(dataId >> 8), serial})
        frame.push_back(b);
    frame.insert(frame.end(), data.begin(), data.end());
    std::uint8_t sum = 0;
    for (std::size_t i = kWakeUpBytes; i < frame.size(); ++i) sum = std::uint8_t(sum + frame[i]);
    frame.push_back(sum);
    frame.push_back(cj188frame::kStop);
    return frame;
}

std::vector<std::uint8_t> cj188ReadData(std::uint8_t meterType, const Cj188Address& address) {
    return cj188Request(meterType, address, 0x01, cj188di::kCurrent);
}

std::vector<std::uint8_t> cj188Read(std::uint8_t meterType, const Cj188Address& address,
                                    std::uint16_t dataId) {
    return cj188Request(meterType, address, 0x01, dataId);
}

std::vector<std::uint8_t> cj188ReadAddress(std::uint8_t meterType, const Cj188Address& address) {
    return cj188Request(meterType, address, 0x03, 0x810A);
}

std::vector<std::uint8_t> cj188Valve(std::uint8_t meterType, const Cj188Address& address, bool open) {
    return cj188Request(meterType, address, 0x04, cj188di::kValve, {std::uint8_t(open ? 0x55 : 0x99)});
}

std::vector<std::uint8_t> cj188SetClock(std::uint8_t meterType, const Cj188Address& address,
                                        const Cj188Time& t) {
    return cj188Request(meterType, address, 0x04, cj188di::kWriteClock,
                        {bcd(t.second), bcd(t.minute), bcd(t.hour), bcd(t.day), bcd(t.month),
                         bcd(t.year % 100), bcd(t.year / 100)});
}

std::vector<std::uint8_t> cj188SetSettlementDay(std::uint8_t meterType, const Cj188Address& address,
                                                int day) {
    return cj188Request(meterType, address, 0x04, cj188di::kWriteSettlementDay, {bcd(day)});
}

std::vector<std::uint8_t> cj188WriteAddress(std::uint8_t meterType, const Cj188Address& address,
                                            const Cj188Address& newAddress) {
    return cj188Request(meterType, address, 0x15, cj188di::kWriteAddress,
                        {newAddress.begin(), newAddress.end()});
}

std::vector<std::uint8_t> cj188WriteSyncReading(std::uint8_t meterType, const Cj188Address& address,
                                                std::uint64_t flowHundredths) {
    std::vector<std::uint8_t> data;
    for (int i = 0; i < 4; ++i, flowHundredths /= 100) data.push_back(bcd(int(flowHundredths % 100)));
    data.push_back(0x2C);  // m3
    return cj188Request(meterType, address, 0x16, cj188di::kWriteSyncReading, data);
}

ExchangeRequest cj188ReadDataExchange(std::vector<std::uint8_t> bytes) {
    return exchange(std::move(bytes), Awaits::Reading, "Read Data");
}

ExchangeRequest cj188ReadAddressExchange(std::vector<std::uint8_t> bytes) {
    return exchange(std::move(bytes), Awaits::Address, "Read ID");
}

ExchangeRequest cj188WriteExchange(std::vector<std::uint8_t> bytes, const char* what) {
    return exchange(std::move(bytes), Awaits::Acknowledge, what);
}

}  // namespace mb
