// --time for set-time: ISO 8601 local time, "2026-12-08T09:30:00" (seconds
// optional, a blank instead of the T allowed); the machine's clock when absent.
#pragma once

#include <optional>
#include <string>

namespace mb::cli {

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

std::optional<LocalTime> parseLocalTime(const std::string& text);
LocalTime localTimeNow();
std::string isoText(const LocalTime& time);

}  // namespace mb::cli
