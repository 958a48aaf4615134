// Text for bytes and scaled numbers, shared by the header and record decoders.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mb {

// "0A 1B 2C": upper-case hex, one space between bytes.
std::string hexBytes(std::span<const std::uint8_t> bytes);

// `raw` * 10^exponent written exactly: (12345, -3) -> "12.345", (47, 2) -> "4700".
std::string scaledDecimal(std::int64_t raw, int exponent);

// A floating-point value with up to 7 significant digits, no trailing zeros.
std::string shortReal(double value);

// 10^exponent as a double, exact for the exponents a meter can send.
double powerOfTen(int exponent);

// raw * 10^exponent, dividing for negative exponents so 12345e-3 prints as 12.345.
double scaledValue(double raw, int exponent);

}  // namespace mb
