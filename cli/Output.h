// What the commands print: a reading as the window's Data Analysis pane shows
// it or as one JSON object, and the meters a scan found as a table or JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ExchangeResult.h"
#include "core/Reading.h"

namespace mb::cli {

// Text: "Check Pass！" and readingLines for a passing frame, readingLines alone
// otherwise; one line each. JSON: readingJson. Both end with a newline.
std::string readingOutput(const Reading& reading, bool json);

// An exchange's result. Text: the lines the window's Data Analysis pane shows.
// JSON: one object whatever the verdict: "check" is the verdict's name
// ("pass", "ack", "meter-error", "no-reply", "fail", "collision", "error")
// with "reason" when it has one, the reply time, the attempt that was
// answered, the noise ignored, and the reading's fields when one came.
std::string resultOutput(const ExchangeResult& result, bool json);

// One meter a scan found. M-Bus fills address (primary, or absent when found
// by secondary search without one) and the header; CJ/T 188 the plate address
// in `id` and the meter type in `medium`.
struct FoundMeter {
    std::optional<int> address;
    std::string id;
    std::string manufacturer;
    std::optional<std::int64_t> version;
    std::string medium;
    std::string note;  // "collision", "no valid reply", ... when not a clean answer
};

std::string foundTable(const std::vector<FoundMeter>& found);
std::string foundJson(const std::vector<FoundMeter>& found);

// Fills id, manufacturer, version, medium (and address) from a decoded reply.
void fillFromReading(FoundMeter& meter, const Reading& reading);

}  // namespace mb::cli
