#include "cj188/Cj188Fields.h"

#include <optional>

#include "cj188/Cj188Units.h"

namespace mb {
namespace {

// The BCD number the bytes spell, low byte first; nullopt on a digit above 9.
std::optional<std::uint64_t> bcdNumber(Cj188Bytes bytes) {
    std::uint64_t number = 0;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
        const unsigned high = *it >> 4;
        const unsigned low = *it & 0x0F;
        if (high > 9 || low > 9) return std::nullopt;
        number = number * 100 + high * 10 + low;
    }
    return number;
}

std::uint64_t powerOfTen(int exponent) {
    std::uint64_t p = 1;
    for (int i = 0; i < exponent; ++i) p *= 10;
    return p;
}

// number × 10^exponent; dividing by an exact power of ten keeps the result the
// nearest double to the decimal the meter meant (0.01234, not 0.012340000001).
double scaled(std::uint64_t number, int exponent) {
    const double n = static_cast<double>(number);
    return exponent >= 0 ? n * static_cast<double>(powerOfTen(exponent))
                         : n / static_cast<double>(powerOfTen(-exponent));
}

struct CalendarTime {
    unsigned year, month, day, hour, minute, second;
};

bool isCalendarTime(const CalendarTime& t) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.month < 1 || t.month > 12 || t.hour > 23 || t.minute > 59 || t.second > 59) return false;
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    const unsigned days = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
    return t.day >= 1 && t.day <= days;
}

// The BCD number of `bytes` into the record; false (and the problem set) on a bad digit.
bool readBcd(Cj188Record& record, Cj188Bytes bytes) {
    const std::optional<std::uint64_t> number = bcdNumber(bytes);
    if (!number) {
        record.problem = Cj188FieldProblem::InvalidBcd;
        return false;
    }
    record.number = *number;
    return true;
}

}  // namespace

void cj188Amount(Cj188Record& record, Cj188Bytes bytes, int decimals) {
    record.decimals = static_cast<std::uint8_t>(decimals);
    if (!readBcd(record, bytes.first(4))) return;
    const std::optional<Cj188Unit> unit = cj188Unit(bytes[4]);
    // Without a known unit the number is still what the meter counts.
    record.value = scaled(record.number, (unit ? unit->siExponent : 0) - decimals);
}

void cj188Fixed(Cj188Record& record, Cj188Bytes bytes, int decimals) {
    record.decimals = static_cast<std::uint8_t>(decimals);
    if (readBcd(record, bytes)) record.value = scaled(record.number, -decimals);
}

void cj188Temperature(Cj188Record& record, Cj188Bytes bytes) {
    if (readBcd(record, bytes)) record.value = scaled(record.number, -2);
}

void cj188Hours(Cj188Record& record, Cj188Bytes bytes) {
    if (readBcd(record, bytes)) record.value = static_cast<double>(record.number * 3600);
}

void cj188RealTime(Cj188Record& record, Cj188Bytes bytes) {
    unsigned part[7];  // the seven BCD pairs in the order they came
    for (std::size_t i = 0; i < 7; ++i) {
        const std::optional<std::uint64_t> pair = bcdNumber(bytes.subspan(i, 1));
        if (!pair) {
            record.problem = Cj188FieldProblem::InvalidBcd;
            return;
        }
        part[i] = static_cast<unsigned>(*pair);
    }
    // Meters without a clock send zeros here: say so rather than print a date.
    bool allZero = true;
    for (unsigned p : part) allZero = allZero && p == 0;
    if (allZero) {
        record.problem = Cj188FieldProblem::NoTimeSet;
        return;
    }

    // The textbook order is ss mm hh DD MM YY(low) YY(high); some meters send
    // the field the other way round, YY(high) YY(low) MM DD hh mm ss. That one
    // is read only when the textbook order is no date, and the display says so.
    const CalendarTime textbook{part[6] * 100 + part[5], part[4], part[3], part[2], part[1], part[0]};
    const CalendarTime yearFirst{part[0] * 100 + part[1], part[2], part[3], part[4], part[5], part[6]};
    CalendarTime t = textbook;
    if (!isCalendarTime(textbook)) {
        if (!isCalendarTime(yearFirst)) {
            record.problem = Cj188FieldProblem::NotCalendarTime;
            return;
        }
        t = yearFirst;
        record.yearFirst = true;
    }
    record.year = static_cast<std::uint16_t>(t.year);
    record.month = static_cast<std::uint8_t>(t.month);
    record.day = static_cast<std::uint8_t>(t.day);
    record.hour = static_cast<std::uint8_t>(t.hour);
    record.minute = static_cast<std::uint8_t>(t.minute);
    record.second = static_cast<std::uint8_t>(t.second);
}

void addCj188Status(Cj188Values& values, std::size_t at) {
    values.add(Cj188Field::Status, "Status", at, 2);
    // ST1 D0-D1: valve, D2: battery; the other bits are the maker's own.
    values.add(Cj188Field::Valve, "Valve", at, 1);
    values.add(Cj188Field::Battery, "Battery", at, 1);
}

}  // namespace mb
