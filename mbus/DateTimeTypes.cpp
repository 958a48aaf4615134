#include "mbus/DateTimeTypes.h"

#include <cstdio>

#include "core/CountText.h"

namespace mb {
namespace {

// Year bits are split: three low bits on top of the day byte, four high bits
// on top of the month byte, giving 0..127.
int sevenBitYear(std::uint8_t dayByte, std::uint8_t monthByte) {
    return ((dayByte & 0xE0) >> 5) | ((monthByte & 0xF0) >> 1);
}

std::string isoDate(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string clock(int hour, int minute) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

std::string clock(int hour, int minute, int second) {
    char text[12];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
    return text;
}

}  // namespace

// Type G carries no century. The standard reads the seven bits as years since
// 2000, so 0..127 are 2000..2127; some public decoders fold years above 80 back
// into the 1900s, which would print a 2126 battery end date as 1926.
DateTimeText decodeTypeG(std::span<const std::uint8_t, 2> b) {
    DateTimeText t;
    const int day = b[0] & 0x1F;
    const int month = b[1] & 0x0F;
    const int year = 2000 + sevenBitYear(b[0], b[1]);
    t.iso = isoDate(year, month, day);
    t.display = t.iso;
    // Day 0, month 0 or above 12 is no calendar date (the all-ones pattern is "not set").
    t.invalid = day == 0 || month == 0 || month > 12;
    return t;
}

DateTimeText decodeTypeJ(std::span<const std::uint8_t, 3> b) {
    DateTimeText t;
    t.iso = clock(b[2] & 0x1F, b[1] & 0x3F, b[0] & 0x3F);
    t.display = t.iso;
    return t;
}

// Type F: minute byte bit 7 = time invalid, hour byte bit 7 = summer time and
// bits 5-6 = hundred years (century after 1900). Old meters leave the century
// bits 0 and count two-digit years, so century 0 with a year up to 80 is 20xx.
DateTimeText decodeTypeF(std::span<const std::uint8_t, 4> b) {
    DateTimeText t;
    const int minute = b[0] & 0x3F;
    const int hour = b[1] & 0x1F;
    const int day = b[2] & 0x1F;
    const int month = b[3] & 0x0F;
    const int twoDigits = sevenBitYear(b[2], b[3]);
    int century = (b[1] & 0x60) >> 5;
    if (century == 0 && twoDigits <= 80) century = 1;
    const int year = 1900 + 100 * century + twoDigits;
    t.invalid = (b[0] & 0x80) != 0;
    t.summerTime = (b[1] & 0x80) != 0;
    const std::string date = isoDate(year, month, day);
    t.iso = date + "T" + clock(hour, minute);
    t.display = date + " " + clock(hour, minute);
    return t;
}

// Type I: second, minute (bit 7 = time invalid), hour (bits 5-7 = weekday),
// day and month with the year bits as in type G, then the week number.
DateTimeText decodeTypeI(std::span<const std::uint8_t, 6> b) {
    DateTimeText t;
    const int second = b[0] & 0x3F;
    const int minute = b[1] & 0x3F;
    const int hour = b[2] & 0x1F;
    const int day = b[3] & 0x1F;
    const int month = b[4] & 0x0F;
    const int year = 2000 + sevenBitYear(b[3], b[4]);
    t.invalid = (b[1] & 0x80) != 0;
    t.summerTime = (b[0] & 0x40) != 0;
    const std::string date = isoDate(year, month, day);
    t.iso = date + "T" + clock(hour, minute, second);
    t.display = date + " " + clock(hour, minute, second);
    return t;
}

DateTimeText decodeDateTime(std::span<const std::uint8_t> b) {
    switch (b.size()) {
        case 2: return decodeTypeG(b.first<2>());
        case 3: return decodeTypeJ(b.first<3>());
        case 4: return decodeTypeF(b.first<4>());
        case 6: return decodeTypeI(b.first<6>());
        default: break;
    }
    DateTimeText t;
    t.error = "no date/time type is " + countText(b.size(), "byte") + " long";
    return t;
}

}  // namespace mb
