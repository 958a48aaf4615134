#include "tools/sim/bytes.h"

namespace mb::sim {

std::string toHex(const std::uint8_t* data, std::size_t size) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(size * 3);
    for (std::size_t i = 0; i < size; ++i) {
        if (i != 0) text += ' ';
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<Bytes> fromHex(std::string_view text) {
    Bytes bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0) return std::nullopt;
    return bytes;
}

std::uint8_t sum8(const Bytes& bytes, std::size_t first, std::size_t last) {
    unsigned sum = 0;
    for (std::size_t i = first; i < last && i < bytes.size(); ++i) sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void appendBcd(Bytes& out, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(bcdByte(static_cast<unsigned>(value % 100)));
        value /= 100;
    }
}

std::uint8_t bcdByte(unsigned value) {
    value %= 100;
    return static_cast<std::uint8_t>((value / 10) << 4 | (value % 10));
}

std::optional<unsigned> fromBcdByte(std::uint8_t byte) {
    unsigned high = byte >> 4, low = byte & 0x0F;
    if (high > 9 || low > 9) return std::nullopt;
    return high * 10 + low;
}

}  // namespace mb::sim
