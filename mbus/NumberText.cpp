#include "mbus/NumberText.h"

#include <cmath>
#include <cstdio>

namespace mb {

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty()) text.push_back(' ');
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

std::string scaledDecimal(std::int64_t raw, int exponent) {
    const bool negative = raw < 0;
    // The magnitude as unsigned so INT64_MIN does not overflow.
    const std::uint64_t magnitude =
        negative ? std::uint64_t{0} - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    std::string digits = std::to_string(magnitude);
    if (exponent > 0) {
        if (magnitude != 0) digits.append(static_cast<std::size_t>(exponent), '0');
    } else if (exponent < 0) {
        const auto decimals = static_cast<std::size_t>(-exponent);
        if (digits.size() <= decimals) digits.insert(0, decimals - digits.size() + 1, '0');
        digits.insert(digits.size() - decimals, 1, '.');
    }
    return negative ? "-" + digits : digits;
}

std::string shortReal(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    return buffer;
}

double powerOfTen(int exponent) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const double p = magnitude < 23 ? kPowers[magnitude] : std::pow(10.0, magnitude);
    return exponent < 0 ? 1.0 / p : p;
}

double scaledValue(double raw, int exponent) {
    return exponent < 0 ? raw / powerOfTen(-exponent) : raw * powerOfTen(exponent);
}

}  // namespace mb
