#include "cli/TimeOption.h"

#include <cstdio>
#include <ctime>

namespace mb::cli {

std::optional<LocalTime> parseLocalTime(const std::string& text) {
    LocalTime t;
    char separator = 0;
    int consumed = 0;
    const int fields =
        std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d%n:%2d%n", &t.year, &t.month, &t.day,
                    &separator, &t.hour, &t.minute, &consumed, &t.second, &consumed);
    if (fields < 6 || static_cast<std::size_t>(consumed) != text.size()) return std::nullopt;
    if (separator != 'T' && separator != ' ') return std::nullopt;
    const bool valid = t.year >= 2000 && t.year <= 2099 && t.month >= 1 && t.month <= 12 &&
                       t.day >= 1 && t.day <= 31 && t.hour <= 23 && t.minute <= 59 &&
                       t.second <= 59 && t.hour >= 0 && t.minute >= 0 && t.second >= 0;
    if (!valid) return std::nullopt;
    return t;
}

LocalTime localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string isoText(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

}  // namespace mb::cli
