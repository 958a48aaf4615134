#include "mbus/DataField.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "mbus/NumberText.h"

namespace mb {
namespace {

constexpr std::size_t kMaxField = 8;

// Copies a fixed field into least-significant-byte-first order.
std::array<std::uint8_t, kMaxField> lsbOrder(std::span<const std::uint8_t> bytes, bool msbFirst) {
    std::array<std::uint8_t, kMaxField> out{};
    const std::size_t n = std::min(bytes.size(), kMaxField);
    for (std::size_t i = 0; i < n; ++i) out[i] = msbFirst ? bytes[n - 1 - i] : bytes[i];
    return out;
}

DataValue decodeInteger(std::span<const std::uint8_t> lsbFirst) {
    DataValue v;
    v.type = DataValue::Type::Integer;
    std::uint64_t bits = 0;
    for (std::size_t i = lsbFirst.size(); i-- > 0;) bits = (bits << 8) | lsbFirst[i];
    v.unsignedValue = bits;
    const std::size_t width = lsbFirst.size() * 8;
    if (width < 64 && width > 0 && (bits >> (width - 1)) & 1u) bits |= ~std::uint64_t{0} << width;
    v.integer = static_cast<std::int64_t>(bits);
    return v;
}

DataValue decodeReal(std::span<const std::uint8_t> lsbFirst) {
    DataValue v;
    v.type = DataValue::Type::Real;
    std::uint32_t bits = 0;
    for (std::size_t i = 4; i-- > 0;) bits = (bits << 8) | lsbFirst[i];
    v.real = static_cast<double>(std::bit_cast<float>(bits));
    return v;
}

// Characters are sent last one first; bytes outside printable ASCII become '.'
// so a view never shows control characters from the line.
std::string reversedText(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = bytes.size(); i-- > 0;) {
        const std::uint8_t c = bytes[i];
        text.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
    }
    return text;
}

}  // namespace

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

DataValue decodeBcd(std::span<const std::uint8_t> lsbFirst) {
    DataValue v;
    v.type = DataValue::Type::Integer;
    v.bcd = true;
    bool negative = false;
    std::uint64_t magnitude = 0;
    for (std::size_t i = lsbFirst.size(); i-- > 0;) {
        for (int shift : {4, 0}) {
            const unsigned nibble = (lsbFirst[i] >> shift) & 0x0F;
            const bool top = i + 1 == lsbFirst.size() && shift == 4;
            if (nibble == 0x0F && top) {
                negative = true;
                continue;
            }
            if (nibble > 9) {
                v.type = DataValue::Type::None;
                v.error = "not a BCD number: digit " + std::string(1, "0123456789ABCDEF"[nibble]);
                return v;
            }
            magnitude = magnitude * 10 + nibble;
            v.text.push_back(static_cast<char>('0' + nibble));
        }
    }
    if (negative) v.text.insert(0, 1, '-');
    v.unsignedValue = magnitude;
    v.integer = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return v;
}

DataValue decodeFixedField(std::uint8_t code, std::span<const std::uint8_t> bytes, bool msbFirst) {
    const auto ordered = lsbOrder(bytes, msbFirst);
    const std::span<const std::uint8_t> lsb(ordered.data(), std::min(bytes.size(), kMaxField));
    switch (code & 0x0F) {
        case 0x0: case 0x8: return {};
        case 0x1: case 0x2: case 0x3: case 0x4: case 0x6: case 0x7: return decodeInteger(lsb);
        case 0x5: return decodeReal(lsb);
        case 0x9: case 0xA: case 0xB: case 0xC: case 0xE: return decodeBcd(lsb);
        default: break;
    }
    DataValue v;
    v.error = "data field code has no fixed length";
    return v;
}

DataValue decodeLvarField(std::uint8_t lvar, std::span<const std::uint8_t> bytes) {
    DataValue v;
    if (lvar <= 0xBF) {
        v.type = DataValue::Type::Text;
        v.text = reversedText(bytes);
    } else if (lvar <= 0xC9 || (lvar >= 0xD0 && lvar <= 0xD9)) {
        v = decodeBcd(bytes);
        if (lvar >= 0xD0 && v.error.empty() && v.integer > 0) {
            v.integer = -v.integer;
            v.text.insert(0, 1, '-');
        }
    } else if (lvar >= 0xE0 && lvar <= 0xEF && bytes.size() <= kMaxField) {
        v = decodeInteger(bytes);
    } else {
        v.type = DataValue::Type::Binary;
        v.text = hexBytes(bytes);
    }
    return v;
}

}  // namespace mb
