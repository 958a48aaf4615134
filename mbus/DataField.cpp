#include "mbus/DataField.h"

#include <algorithm>
#include <bit>

namespace mb {
namespace {

constexpr std::size_t kMaxField = 8;

// The i-th byte of a field counted from the most significant one. Fixed
// fields are at most 8 bytes, LVAR numbers at most 9 (18 BCD digits).
inline std::uint8_t byteOf(std::span<const std::uint8_t> bytes, bool msbFirst, std::size_t i) {
    return msbFirst ? bytes[i] : bytes[bytes.size() - 1 - i];
}

void decodeInteger(std::span<const std::uint8_t> bytes, bool msbFirst, DataValue& v) {
    v.coding = DataCoding::Integer;
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) bits = (bits << 8) | byteOf(bytes, msbFirst, i);
    v.bits = bits;
    const std::size_t width = bytes.size() * 8;
    if (width < 64 && width > 0 && (bits >> (width - 1)) & 1u) bits |= ~std::uint64_t{0} << width;
    v.integer = static_cast<std::int64_t>(bits);
}

void decodeReal(std::span<const std::uint8_t> bytes, bool msbFirst, DataValue& v) {
    v.coding = DataCoding::Real;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) bits = (bits << 8) | byteOf(bytes, msbFirst, i);
    v.real = static_cast<double>(std::bit_cast<float>(bits));
}

// Packed BCD digits. A top nibble F marks a negative number; any other
// nibble above 9 is an error.
void decodeBcd(std::span<const std::uint8_t> bytes, bool msbFirst, DataValue& v) {
    auto bad = [&](unsigned digit) {
        v.coding = DataCoding::BadBcd;
        v.minus = false;
        v.badDigit = static_cast<std::uint8_t>(digit);
    };
    v.coding = DataCoding::Bcd;
    std::uint64_t magnitude = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t b = byteOf(bytes, msbFirst, i);
        const unsigned high = b >> 4, low = b & 0x0F;
        if (i == 0 && high == 0x0F) {
            v.minus = true;
        } else if (high > 9) {
            return bad(high);
        } else {
            magnitude = magnitude * 10 + high;
        }
        if (low > 9) return bad(low);
        magnitude = magnitude * 10 + low;
    }
    v.bits = magnitude;
    v.integer = v.minus ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
}

}  // namespace

LsbBytes lsbOrder(std::span<const std::uint8_t> bytes, bool msbFirst) {
    LsbBytes out;
    out.size = std::min(bytes.size(), kMaxField);
    for (std::size_t i = 0; i < out.size; ++i) out.bytes[i] = msbFirst ? bytes[out.size - 1 - i] : bytes[i];
    return out;
}

void decodeFixedField(std::uint8_t code, std::span<const std::uint8_t> bytes, bool msbFirst, DataValue& v) {
    v = DataValue{};
    switch (code & 0x0F) {
        case 0x1: case 0x2: case 0x3: case 0x4: case 0x6: case 0x7: return decodeInteger(bytes, msbFirst, v);
        case 0x5: return decodeReal(bytes, msbFirst, v);
        case 0x9: case 0xA: case 0xB: case 0xC: case 0xE: return decodeBcd(bytes, msbFirst, v);
        default: return;  // 0 and 8 carry no data; 0D and 0F have no fixed length and never come here
    }
}

void decodeLvarField(std::uint8_t lvar, std::span<const std::uint8_t> bytes, DataValue& v) {
    v = DataValue{};
    if (lvar <= 0xBF) {
        v.coding = DataCoding::Text;
    } else if (lvar <= 0xC9 || (lvar >= 0xD0 && lvar <= 0xD9)) {
        decodeBcd(bytes, false, v);
        if (lvar >= 0xD0 && v.coding == DataCoding::Bcd && v.integer > 0) {
            v.integer = -v.integer;
            v.minus = true;
        }
    } else if (lvar >= 0xE0 && lvar <= 0xEF && bytes.size() <= kMaxField) {
        decodeInteger(bytes, false, v);
    } else {
        v.coding = DataCoding::Binary;
    }
}

void appendBcdDigits(std::string& out, std::span<const std::uint8_t> lsbFirst, bool minus) {
    if (minus) out += '-';
    for (std::size_t i = lsbFirst.size(); i-- > 0;) {
        const bool top = i + 1 == lsbFirst.size();
        const unsigned high = lsbFirst[i] >> 4;
        if (!(top && high == 0x0F)) out += static_cast<char>('0' + high);
        out += static_cast<char>('0' + (lsbFirst[i] & 0x0F));
    }
}

void appendLvarText(std::string& out, std::span<const std::uint8_t> bytes) {
    for (std::size_t i = bytes.size(); i-- > 0;) {
        const std::uint8_t c = bytes[i];
        out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
    }
}

}  // namespace mb
