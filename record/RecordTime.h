// UTC timestamps to the microsecond for the session record: one form for the
// lines inside a file, one without colons for file names (Windows forbids
// them), both of fixed width so that they sort as text.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace mb {

using RecordClock = std::chrono::system_clock;
using RecordTimePoint = RecordClock::time_point;

// "2026-12-08T01:19:00.123456Z"
std::string utcStamp(RecordTimePoint t);

// "2026-12-08T01-19-00.123456Z"
std::string fileStamp(RecordTimePoint t);

// utcStamp with the date-and-time part kept from the previous call: the
// writer formats many lines per second and the calendar arithmetic would
// otherwise dominate.
class UtcStampCache {
public:
    const std::string& stamp(RecordTimePoint t);

private:
    std::int64_t second_ = INT64_MIN;
    std::string text_;
};

}  // namespace mb
