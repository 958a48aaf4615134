#include "record/RecordTime.h"

#include <cstdio>

namespace mb {

namespace {

using std::chrono::floor;
using std::chrono::microseconds;
using std::chrono::seconds;

// Date and time to the second, e.g. "2026-12-08T01:19:00", with `separator`
// between hours, minutes and seconds.
std::string secondText(std::chrono::sys_seconds second, char separator) {
    const auto day = floor<std::chrono::days>(second);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss time{second - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d%c%02d%c%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), separator, static_cast<int>(time.minutes().count()),
                  separator, static_cast<int>(time.seconds().count()));
    return text;
}

// ".123456Z"
void appendFraction(std::string& out, RecordTimePoint t, std::chrono::sys_seconds second) {
    auto micros = static_cast<unsigned>(floor<microseconds>(t - second).count());
    char digits[8] = {'.', '0', '0', '0', '0', '0', '0', 'Z'};
    for (int i = 6; i >= 1; --i, micros /= 10) digits[i] = static_cast<char>('0' + micros % 10);
    out.append(digits, sizeof digits);
}

std::string stampWith(RecordTimePoint t, char separator) {
    const auto second = floor<seconds>(t);
    std::string out = secondText(second, separator);
    appendFraction(out, t, second);
    return out;
}

}  // namespace

std::string utcStamp(RecordTimePoint t) { return stampWith(t, ':'); }

std::string fileStamp(RecordTimePoint t) { return stampWith(t, '-'); }

const std::string& UtcStampCache::stamp(RecordTimePoint t) {
    const auto second = floor<seconds>(t);
    if (second.time_since_epoch().count() != second_) {
        second_ = second.time_since_epoch().count();
        text_ = secondText(second, ':');
    } else {
        text_.resize(text_.size() - 8);
    }
    appendFraction(text_, t, second);
    return text_;
}

}  // namespace mb
