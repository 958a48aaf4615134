#include "cj188/Cj188Fields.h"

#include <cstdio>
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

// "556677.00": the register as the meter shows it, leading zeros dropped.
std::string fixedPoint(std::uint64_t number, int decimals) {
    const std::uint64_t scale = powerOfTen(decimals);
    std::string text = std::to_string(number / scale);
    if (decimals > 0) {
        std::string fraction = std::to_string(number % scale);
        text += '.' + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return text;
}

// number × 10^exponent; dividing by an exact power of ten keeps the result the
// nearest double to the decimal the meter meant (0.01234, not 0.012340000001).
double scaled(std::uint64_t number, int exponent) {
    const double n = static_cast<double>(number);
    return exponent >= 0 ? n * static_cast<double>(powerOfTen(exponent))
                         : n / static_cast<double>(powerOfTen(-exponent));
}

Record started(Cj188Bytes bytes, std::string_view quantity) {
    Record record;
    record.quantity = std::string(quantity);
    record.rawHex = cj188HexText(bytes);
    return record;
}

Record failed(Record record, std::string why) {
    record.value = std::monostate{};
    record.error = std::move(why);
    return record;
}

std::string twoDigits(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02u", value % 100);
    return text;
}

std::string fourDigits(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04u", value % 10000);
    return text;
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

}  // namespace

std::string cj188HexText(Cj188Bytes bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

Record cj188Amount(Cj188Bytes bytes, std::string_view quantity, int decimals) {
    Record record = started(bytes, quantity);
    const std::optional<std::uint64_t> number = bcdNumber(bytes.first(4));
    if (!number) return failed(std::move(record), "invalid BCD digit");
    const std::string shown = fixedPoint(*number, decimals);
    const std::uint8_t code = bytes[4];
    if (const std::optional<Cj188Unit> unit = cj188Unit(code)) {
        record.unit = std::string(unit->siUnit);
        record.value = scaled(*number, unit->siExponent - decimals);
        record.display = shown + " " + std::string(unit->meterSymbol);
    } else {
        // Without a known unit the number is still what the meter counts.
        record.value = scaled(*number, -decimals);
        record.display = shown + " (unknown unit code " + cj188HexText(bytes.subspan(4, 1)) + ")";
    }
    return record;
}

Record cj188Temperature(Cj188Bytes bytes, std::string_view quantity) {
    Record record = started(bytes, quantity);
    const std::optional<std::uint64_t> number = bcdNumber(bytes);
    if (!number) return failed(std::move(record), "invalid BCD digit");
    record.unit = "°C";
    record.value = scaled(*number, -2);
    record.display = fixedPoint(*number, 2) + " °C";
    return record;
}

Record cj188Hours(Cj188Bytes bytes, std::string_view quantity) {
    Record record = started(bytes, quantity);
    const std::optional<std::uint64_t> number = bcdNumber(bytes);
    if (!number) return failed(std::move(record), "invalid BCD digit");
    record.unit = "s";
    record.value = static_cast<double>(*number * 3600);
    record.display = std::to_string(*number) + " h";
    return record;
}

Record cj188RealTime(Cj188Bytes bytes, std::string_view quantity) {
    Record record = started(bytes, quantity);
    unsigned part[7];  // the seven BCD pairs in the order they came
    for (std::size_t i = 0; i < 7; ++i) {
        const std::optional<std::uint64_t> pair = bcdNumber(bytes.subspan(i, 1));
        if (!pair) return failed(std::move(record), "invalid BCD digit");
        part[i] = static_cast<unsigned>(*pair);
    }
    // Meters without a clock send zeros here: say so rather than print a date.
    bool allZero = true;
    for (unsigned p : part) allZero = allZero && p == 0;
    if (allZero) return failed(std::move(record), "no date and time set (all zero)");

    // The textbook order is ss mm hh DD MM YY(low) YY(high); some meters send
    // the field the other way round, YY(high) YY(low) MM DD hh mm ss. That one
    // is read only when the textbook order is no date, and the display says so.
    const CalendarTime textbook{part[6] * 100 + part[5], part[4], part[3], part[2], part[1], part[0]};
    const CalendarTime yearFirst{part[0] * 100 + part[1], part[2], part[3], part[4], part[5], part[6]};
    std::string note;
    CalendarTime t = textbook;
    if (!isCalendarTime(textbook)) {
        if (!isCalendarTime(yearFirst)) return failed(std::move(record), "not a calendar date and time");
        t = yearFirst;
        note = " (sent year first)";
    }
    const std::string date = fourDigits(t.year) + "-" + twoDigits(t.month) + "-" + twoDigits(t.day);
    const std::string time = twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
    record.value = date + "T" + time;
    record.display = date + " " + time + note;
    return record;
}

std::vector<Record> cj188Status(Cj188Bytes bytes) {
    const std::uint8_t st1 = bytes[0];
    Record status = started(bytes, "Status");
    status.value = cj188HexText(bytes);
    status.display = "ST1 " + cj188HexText(bytes.first(1)) + ", ST2 " + cj188HexText(bytes.subspan(1, 1));

    // ST1 D0-D1: valve, D2: battery; the other bits are the maker's own.
    static constexpr const char* kValve[] = {"open", "closed", "state 10 (undefined)", "abnormal"};
    Record valve = started(bytes.first(1), "Valve");
    valve.value = std::string(kValve[st1 & 0x03]);
    valve.display = kValve[st1 & 0x03];

    Record battery = started(bytes.first(1), "Battery");
    battery.value = std::string((st1 & 0x04) ? "low" : "normal");
    battery.display = (st1 & 0x04) ? "low" : "normal";
    return {status, valve, battery};
}

Record cj188RawRecord(Cj188Bytes bytes, std::string_view quantity) {
    Record record = started(bytes, quantity);
    record.value = record.rawHex;
    record.display = record.rawHex;
    return record;
}

}  // namespace mb
