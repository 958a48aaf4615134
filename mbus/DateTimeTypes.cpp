#include "mbus/DateTimeTypes.h"

#include <cstdio>


namespace mb {
namespace {

// Year bits are split: three low bits on top of the day byte, four high bits
// on top of the month byte, giving 0..127.
int sevenBitYear(std::uint8_t dayByte, std::uint8_t monthByte) {
    return ((dayByte & 0xE0) >> 5) | ((monthByte & 0xF0) >> 1);
}

void appendDate(std::string& out, const DateTimeParts& t) {
    char text[40];
    const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    out.append(text, static_cast<std::size_t>(n));
}

void appendClock(std::string& out, const DateTimeParts& t) {
    char text[40];
    const int n = t.type == DateTimeParts::Type::F
                      ? std::snprintf(text, sizeof text, "%02d:%02d", t.hour, t.minute)
                      : std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    out.append(text, static_cast<std::size_t>(n));
}

void appendDateTime(std::string& out, const DateTimeParts& t, char between) {
    switch (t.type) {
        case DateTimeParts::Type::G: appendDate(out, t); return;
        case DateTimeParts::Type::J: appendClock(out, t); return;
        case DateTimeParts::Type::F:
        case DateTimeParts::Type::I:
            appendDate(out, t);
            out += between;
            appendClock(out, t);
            return;
        case DateTimeParts::Type::None: return;
    }
}

}  // namespace

// Type G carries no century. The standard reads the seven bits as years since
// 2000, so 0..127 are 2000..2127; some public decoders fold years above 80 back
// into the 1900s, which would print a 2126 battery end date as 1926.
DateTimeParts decodeTypeG(std::span<const std::uint8_t, 2> b) {
    DateTimeParts t;
    t.type = DateTimeParts::Type::G;
    t.day = b[0] & 0x1F;
    t.month = b[1] & 0x0F;
    t.year = 2000 + sevenBitYear(b[0], b[1]);
    // Day 0, month 0 or above 12 is no calendar date (the all-ones pattern is "not set").
    t.invalid = t.day == 0 || t.month == 0 || t.month > 12;
    return t;
}

DateTimeParts decodeTypeJ(std::span<const std::uint8_t, 3> b) {
    DateTimeParts t;
    t.type = DateTimeParts::Type::J;
    t.hour = b[2] & 0x1F;
    t.minute = b[1] & 0x3F;
    t.second = b[0] & 0x3F;
    return t;
}

// Type F: minute byte bit 7 = time invalid, hour byte bit 7 = summer time and
// bits 5-6 = hundred years (century after 1900). Old meters leave the century
// bits 0 and count two-digit years, so century 0 with a year up to 80 is 20xx.
DateTimeParts decodeTypeF(std::span<const std::uint8_t, 4> b) {
    DateTimeParts t;
    t.type = DateTimeParts::Type::F;
    t.minute = b[0] & 0x3F;
    t.hour = b[1] & 0x1F;
    t.day = b[2] & 0x1F;
    t.month = b[3] & 0x0F;
    const int twoDigits = sevenBitYear(b[2], b[3]);
    int century = (b[1] & 0x60) >> 5;
    if (century == 0 && twoDigits <= 80) century = 1;
    t.year = 1900 + 100 * century + twoDigits;
    t.invalid = (b[0] & 0x80) != 0;
    t.summerTime = (b[1] & 0x80) != 0;
    return t;
}

// Type I: second, minute (bit 7 = time invalid), hour (bits 5-7 = weekday),
// day and month with the year bits as in type G, then the week number.
DateTimeParts decodeTypeI(std::span<const std::uint8_t, 6> b) {
    DateTimeParts t;
    t.type = DateTimeParts::Type::I;
    t.second = b[0] & 0x3F;
    t.minute = b[1] & 0x3F;
    t.hour = b[2] & 0x1F;
    t.day = b[3] & 0x1F;
    t.month = b[4] & 0x0F;
    t.year = 2000 + sevenBitYear(b[3], b[4]);
    t.invalid = (b[1] & 0x80) != 0;
    t.summerTime = (b[0] & 0x40) != 0;
    return t;
}

DateTimeParts decodeDateTime(std::span<const std::uint8_t> b) {
    switch (b.size()) {
        case 2: return decodeTypeG(b.first<2>());
        case 3: return decodeTypeJ(b.first<3>());
        case 4: return decodeTypeF(b.first<4>());
        case 6: return decodeTypeI(b.first<6>());
        default: return {};
    }
}

void appendIsoDateTime(std::string& out, const DateTimeParts& t) {
    appendDateTime(out, t, 'T');
}

void appendDisplayDateTime(std::string& out, const DateTimeParts& t) {
    appendDateTime(out, t, ' ');
}

}  // namespace mb
