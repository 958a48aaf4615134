#include "cj188/Cj188BusRequests.h"

namespace mb {
namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c == 'A' || c == 'a') return 0xA;
    return -1;
}

std::vector<std::uint8_t> request(std::uint8_t type, const Cj188Address& address, std::uint8_t control,
                                  std::uint8_t di0, std::uint8_t di1) {
    std::vector<std::uint8_t> frame(19);
    frame[0] = frame[1] = frame[2] = 0xFE;
    frame[3] = 0x68;
    frame[4] = type;
    for (std::size_t i = 0; i < address.size(); ++i) frame[5 + i] = address[i];
    frame[12] = control;
    frame[13] = 0x03;  // L: DI and SER
    frame[14] = di0;
    frame[15] = di1;
    frame[16] = 0x01;
    std::uint8_t sum = 0;
    for (std::size_t i = 3; i < 17; ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
    frame[17] = sum;
    frame[18] = 0x16;
    return frame;
}

}  // namespace

std::optional<Cj188Address> cj188AddressFromPlate(std::string_view plate) {
    if (plate.size() != 14) return std::nullopt;
    Cj188Address address{};
    for (std::size_t i = 0; i < 7; ++i) {
        const int high = digitValue(plate[2 * i]);
        const int low = digitValue(plate[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        address[6 - i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return address;
}

std::vector<std::uint8_t> cj188ReadData(std::uint8_t meterType, const Cj188Address& address) {
    return request(meterType, address, 0x01, 0x1F, 0x90);
}

std::vector<std::uint8_t> cj188ReadAddress(std::uint8_t meterType, const Cj188Address& address) {
    return request(meterType, address, 0x03, 0x0A, 0x81);
}

}  // namespace mb
