#include "mbus/MbusRequests.h"

#include "core/TextChars.h"

namespace mb {
namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::uint8_t mbusAddressFromText(std::string_view text) {
    unsigned value = 0;
    for (char c : charMid(text, 1, 2)) {
        const int digit = hexDigitValue(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint8_t>(value);
}

int buildMbusReadData(TxBuffer& tx, std::string_view deviceId) {
    const std::uint8_t address = mbusAddressFromText(deviceId);
    tx[0] = 0x10;
    tx[1] = 0x5B;  // REQ_UD2, frame-count bit valid and 0; never toggled
    tx[2] = address;
    tx[3] = static_cast<std::uint8_t>((0x5B + address) & 0xFF);
    tx[4] = 0x16;
    return kMbusReadDataLastIndex;
}

int buildMbusModifyId(TxBuffer& tx, std::string_view newAddress) {
    const std::uint8_t address = mbusAddressFromText(newAddress);
    const std::uint8_t frame[] = {0x68, 0x06, 0x06, 0x68, 0x53, 0xFE, 0x51, 0x01, 0x7A, address};
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < sizeof frame; ++i) {
        tx[i] = frame[i];
        if (i >= 4) sum += frame[i];  // from the C field on
    }
    tx[10] = static_cast<std::uint8_t>(sum & 0xFF);
    tx[11] = 0x16;
    return kMbusModifyIdLastIndex;
}

}  // namespace mb
