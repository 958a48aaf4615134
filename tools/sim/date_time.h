// Wall-clock time as the meters report it; the meters take it as an argument
// so that their replies are reproducible in tests.
#pragma once

namespace mb::sim {

struct DateTime {
    int year = 2000;  // four digits
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Local time of this machine.
DateTime localNow();

// A meter whose clock was set runs `seconds` ahead of (or behind) the machine.
long secondsBetween(const DateTime& from, const DateTime& to);
DateTime shiftedBy(const DateTime& time, long seconds);

}  // namespace mb::sim
