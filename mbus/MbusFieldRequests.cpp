#include "mbus/MbusFieldRequests.h"

#include <algorithm>

#include "core/TextChars.h"
#include "mbus/MbusRequests.h"

namespace mb {
namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int place(TxBuffer& tx, const std::vector<std::uint8_t>& frame) {
    std::copy(frame.begin(), frame.end(), tx.begin());
    return static_cast<int>(frame.size()) - 1;
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
    return place(tx, mbusReqUd2(mbusAddressFromText(deviceId)));
}

int buildMbusModifyId(TxBuffer& tx, std::string_view newAddress) {
    return place(tx, mbusSetAddress(kMbusAddressAny, mbusAddressFromText(newAddress)));
}

}  // namespace mb
