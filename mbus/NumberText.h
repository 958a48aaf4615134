// Text for codes and scaled numbers, shared by the header and record views.
// Each appends to the caller's buffer, so a view reuses one string.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>

#include "core/HexText.h"

namespace mb {

// "0x0A": one byte as the decoders' messages name a code.
void appendHexCode(std::string& out, unsigned code);

// "0A": one byte in upper-case hex.
void appendHexByte(std::string& out, std::uint8_t byte);

// `raw` * 10^exponent written exactly: (12345, -3) -> "12.345", (47, 2) -> "4700".
void appendScaledDecimal(std::string& out, std::int64_t raw, int exponent);

// A floating-point value with up to 7 significant digits, no trailing zeros.
void appendShortReal(std::string& out, double value);

template <typename Integer>
void appendDecimal(std::string& out, Integer value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// 10^exponent as a double, exact for the exponents a meter can send.
double powerOfTen(int exponent);

// raw * 10^exponent, dividing for negative exponents so 12345e-3 prints as 12.345.
inline double scaledValue(double raw, int exponent) {
    return exponent < 0 ? raw / powerOfTen(-exponent) : raw * powerOfTen(exponent);
}

}  // namespace mb
