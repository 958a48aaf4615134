#include "en1434/MbusFrames.h"

#include "serial/TextChars.h"

namespace mb {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::uint8_t MbusAddressFromText(std::string_view text) {
    unsigned value = 0;
    for (char c : CharMid(text, 1, 2)) {
        const int digit = HexDigitValue(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint8_t>(value);
}

int BuildMbusReadData(TxBuffer& tx, std::string_view text6) {
    const std::uint8_t address = MbusAddressFromText(text6);
    tx[0] = 0x10;
    tx[1] = 0x5B;  // REQ_UD2, frame-count bit valid and 0; never toggled
    tx[2] = address;
    tx[3] = static_cast<std::uint8_t>((0x5B + address) & 0xFF);
    tx[4] = 0x16;
    return kMbusReadDataLastIndex;
}

int BuildMbusModifyId(TxBuffer& tx, std::string_view text7) {
    const std::uint8_t newAddress = MbusAddressFromText(text7);
    const std::uint8_t frame[] = {0x68, 0x06, 0x06, 0x68, 0x53, 0xFE, 0x51, 0x01, 0x7A, newAddress};
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
