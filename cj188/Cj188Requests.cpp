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

std::vector<std::uint8_t> request(std::uint8_t type, const Cj188Address& address,
                                  std::uint8_t control, std::uint16_t dataId) {
    std::vector<std::uint8_t> frame{0xFE, 0xFE, 0xFE, 0x68, type};
    frame.insert(frame.end(), address.begin(), address.end());
    // C, L (DI and SER), DI low byte first, SER.
    for (std::uint8_t b : {control, std::uint8_t{0x03}, std::uint8_t(dataId & 0xFF),
                           std::uint8_t(dataId >> 8), std::uint8_t{0x01}})
        frame.push_back(b);
    std::uint8_t sum = 0;
    for (std::size_t i = kWakeUpBytes; i < frame.size(); ++i) sum = std::uint8_t(sum + frame[i]);
    frame.push_back(sum);
    frame.push_back(0x16);
    return frame;
}

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

std::vector<std::uint8_t> cj188ReadData(std::uint8_t meterType, const Cj188Address& address) {
    return request(meterType, address, 0x01, 0x901F);
}

std::vector<std::uint8_t> cj188ReadAddress(std::uint8_t meterType, const Cj188Address& address) {
    return request(meterType, address, 0x03, 0x810A);
}

ExchangeRequest cj188ReadDataExchange(std::vector<std::uint8_t> bytes) {
    return exchange(std::move(bytes), Awaits::Reading, "Read Data");
}

ExchangeRequest cj188ReadAddressExchange(std::vector<std::uint8_t> bytes) {
    return exchange(std::move(bytes), Awaits::Address, "Read ID");
}

}  // namespace mb
