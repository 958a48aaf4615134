#include "tools/sim/date_time.h"

#include <ctime>

namespace mb::sim {

DateTime localNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return DateTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                    parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

namespace {
std::time_t asUtc(const DateTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    return timegm(&tm);
}
}  // namespace

long secondsBetween(const DateTime& from, const DateTime& to) {
    return static_cast<long>(asUtc(to) - asUtc(from));
}

DateTime shiftedBy(const DateTime& time, long seconds) {
    const std::time_t shifted = asUtc(time) + seconds;
    std::tm tm{};
    gmtime_r(&shifted, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace mb::sim
