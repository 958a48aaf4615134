#include "mbus/DataField.h"

#include <algorithm>
#include <array>
#include <bit>

namespace mb {
namespace {

constexpr std::size_t kMaxField = 8;

DataValue decodeInteger(std::span<const std::uint8_t> lsbFirst) {
    DataValue v;
    v.coding = DataCoding::Integer;
    std::uint64_t bits = 0;
    for (std::size_t i = lsbFirst.size(); i-- > 0;) bits = (bits << 8) | lsbFirst[i];
    v.bits = bits;
    const std::size_t width = lsbFirst.size() * 8;
    if (width < 64 && width > 0 && (bits >> (width - 1)) & 1u) bits |= ~std::uint64_t{0} << width;
    v.integer = static_cast<std::int64_t>(bits);
    return v;
}

DataValue decodeReal(std::span<const std::uint8_t> lsbFirst) {
    DataValue v;
    v.coding = DataCoding::Real;
    std::uint32_t bits = 0;
    for (std::size_t i = 4; i-- > 0;) bits = (bits << 8) | lsbFirst[i];
    v.real = static_cast<double>(std::bit_cast<float>(bits));
    return v;
}

// Packed BCD digits, least significant byte first. A top nibble F marks a
// negative number; any other nibble above 9 is an error.
DataValue decodeBcd(std::span<const std::uint8_t> lsbFirst) {
    DataValue v;
    v.coding = DataCoding::Bcd;
    std::uint64_t magnitude = 0;
    for (std::size_t i = lsbFirst.size(); i-- > 0;) {
        for (int shift : {4, 0}) {
            const unsigned nibble = (lsbFirst[i] >> shift) & 0x0F;
            const bool top = i + 1 == lsbFirst.size() && shift == 4;
            if (nibble == 0x0F && top) {
                v.minus = true;
                continue;
            }
            if (nibble > 9) {
                v = DataValue{};
                v.coding = DataCoding::BadBcd;
                v.badDigit = static_cast<std::uint8_t>(nibble);
                return v;
            }
            magnitude = magnitude * 10 + nibble;
        }
    }
    v.bits = magnitude;
    v.integer = v.minus ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return v;
}

}  // namespace

LsbBytes lsbOrder(std::span<const std::uint8_t> bytes, bool msbFirst) {
    LsbBytes out;
    out.size = std::min(bytes.size(), kMaxField);
    for (std::size_t i = 0; i < out.size; ++i) out.bytes[i] = msbFirst ? bytes[out.size - 1 - i] : bytes[i];
    return out;
}

std::optional<std::size_t> fixedFieldLength(std::uint8_t code) {
    static constexpr std::array<int, 16> kLength = {0, 1, 2, 3, 4, 4, 6, 8, 0, 1, 2, 3, 4, -1, 6, -1};
    const int n = kLength[code & 0x0F];
    if (n < 0) return std::nullopt;
    return static_cast<std::size_t>(n);
}

std::optional<std::size_t> lvarLength(std::uint8_t lvar) {
    if (lvar <= 0xBF) return lvar;                                   // text
    if (lvar >= 0xC0 && lvar <= 0xC9) return lvar - 0xC0;            // positive BCD, 2 digits a byte
    if (lvar >= 0xD0 && lvar <= 0xD9) return lvar - 0xD0;            // negative BCD
    if (lvar >= 0xE0 && lvar <= 0xEF) return lvar - 0xE0;            // binary number
    if (lvar >= 0xF0 && lvar <= 0xF4) return 4u * (lvar - 0xEC);     // 16..64-byte binary
    return std::nullopt;
}

DataValue decodeFixedField(std::uint8_t code, std::span<const std::uint8_t> bytes, bool msbFirst) {
    const LsbBytes ordered = lsbOrder(bytes, msbFirst);
    switch (code & 0x0F) {
        case 0x0: case 0x8: return {};
        case 0x1: case 0x2: case 0x3: case 0x4: case 0x6: case 0x7: return decodeInteger(ordered.span());
        case 0x5: return decodeReal(ordered.span());
        case 0x9: case 0xA: case 0xB: case 0xC: case 0xE: return decodeBcd(ordered.span());
        default: return {};  // 0x0D and 0x0F have no fixed length: the walker never asks
    }
}

DataValue decodeLvarField(std::uint8_t lvar, std::span<const std::uint8_t> bytes) {
    DataValue v;
    if (lvar <= 0xBF) {
        v.coding = DataCoding::Text;
    } else if (lvar <= 0xC9 || (lvar >= 0xD0 && lvar <= 0xD9)) {
        v = decodeBcd(bytes);
        if (lvar >= 0xD0 && v.coding == DataCoding::Bcd && v.integer > 0) {
            v.integer = -v.integer;
            v.minus = true;
        }
    } else if (lvar >= 0xE0 && lvar <= 0xEF && bytes.size() <= kMaxField) {
        v = decodeInteger(bytes);
    } else {
        v.coding = DataCoding::Binary;
    }
    return v;
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
