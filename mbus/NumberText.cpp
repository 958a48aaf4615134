#include "mbus/NumberText.h"

#include <cmath>
#include <cstdio>

namespace mb {

void appendHexCode(std::string& out, unsigned code) {
    out += "0x";
    appendHexByte(out, static_cast<std::uint8_t>(code));
}

void appendHexByte(std::string& out, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

void appendScaledDecimal(std::string& out, std::int64_t raw, int exponent) {
    // The magnitude as unsigned so INT64_MIN does not overflow.
    const std::uint64_t magnitude =
        raw < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    char digits[24];
    const std::size_t count = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    if (raw < 0) out += '-';
    if (exponent >= 0) {
        out.append(digits, count);
        if (magnitude != 0) out.append(static_cast<std::size_t>(exponent), '0');
        return;
    }
    const auto decimals = static_cast<std::size_t>(-exponent);
    if (count <= decimals) {
        out += "0.";
        out.append(decimals - count, '0');
        out.append(digits, count);
        return;
    }
    out.append(digits, count - decimals);
    out += '.';
    out.append(digits + count - decimals, decimals);
}

void appendShortReal(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value < 0 ? "-Inf" : "Inf";
    } else {
        char buffer[32];
        out.append(buffer, static_cast<std::size_t>(std::snprintf(buffer, sizeof buffer, "%.7g", value)));
    }
}

double powerOfTen(int exponent) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const double p = magnitude < 23 ? kPowers[magnitude] : std::pow(10.0, magnitude);
    return exponent < 0 ? 1.0 / p : p;
}

}  // namespace mb
