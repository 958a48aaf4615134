// A Reading as one JSON object on one line, for scripts: values in SI units,
// numbers that round-trip, keys in a fixed order.
#pragma once

#include <string>

#include "core/Reading.h"
#include "core/ReadingView.h"

namespace mb {

// {"protocol":..,"check":"pass"|"fail"|"error"[,"error":..],"header":{..},"records":[..]}
std::string readingJson(const Reading& reading);

// Appends the same object for any decoded frame, without a newline.
void appendReadingJson(std::string& out, const ReadingView& reading);

// `value` as a JSON number: the shortest text that reads back as the same
// double, integers without a fraction; NaN and infinities become null.
std::string jsonNumber(double value);
void appendJsonNumber(std::string& out, double value);

}  // namespace mb
