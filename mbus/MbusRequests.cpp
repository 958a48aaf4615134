#include "mbus/MbusRequests.h"

#include "mbus/MbusProtocol.h"

namespace mb {
namespace {

std::vector<std::uint8_t> shortFrame(std::uint8_t c, std::uint8_t address) {
    return {0x10, c, address, static_cast<std::uint8_t>(c + address), 0x16};
}

// 68 L L 68 + user data + CS 16, L counting the user data.
std::vector<std::uint8_t> longFrame(const std::vector<std::uint8_t>& userData) {
    const auto length = static_cast<std::uint8_t>(userData.size());
    std::vector<std::uint8_t> frame{0x68, length, length, 0x68};
    std::uint8_t sum = 0;
    for (auto b : userData) {
        frame.push_back(b);
        sum = static_cast<std::uint8_t>(sum + b);
    }
    frame.push_back(sum);
    frame.push_back(0x16);
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
