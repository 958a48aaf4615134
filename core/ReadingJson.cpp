#include "core/ReadingJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "core/JsonText.h"

namespace mb {
namespace {

std::string_view functionName(RecordFunction function) {
    switch (function) {
        case RecordFunction::Instantaneous: return "instantaneous";
        case RecordFunction::Maximum: return "maximum";
        case RecordFunction::Minimum: return "minimum";
        case RecordFunction::Error: return "error";
        case RecordFunction::Manufacturer: return "manufacturer";
        case RecordFunction::Other: return "other";
    }
    return "other";
}

std::string_view checkName(const ReadingView& reading) {
    if (!reading.error().empty()) return "error";
    if (reading.checkPassed() && reading.meterError())
        return "meter-error";  // as the exchange names it
    return reading.checkPassed() ? "pass" : "fail";
}

template <typename Integer>
void appendInteger(std::string& out, Integer value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void appendHeader(std::string& out, const ReadingView& reading) {
    out += '{';
    for (std::size_t i = 0; i < reading.headerCount(); ++i) {
        const HeaderFieldView field = reading.headerField(i);
        if (i) out += ',';
        appendJsonQuoted(out, field.key);
        out += ':';
        if (field.isNumber) {
            appendInteger(out, field.number);
        } else {
            appendJsonQuoted(out, field.text);
        }
    }
    out += '}';
}

void appendValue(std::string& out, const RecordView& record) {
    if (!record.error.empty()) {
        out += "null";
    } else if (record.valueType == RecordView::Value::Number) {
        appendJsonNumber(out, record.number);
    } else if (record.valueType == RecordView::Value::Text) {
        appendJsonQuoted(out, record.text);
    } else {
        out += "null";
    }
}

void appendRecord(std::string& out, const RecordView& record) {
    out += "{\"quantity\":";
    appendJsonQuoted(out, record.quantity);
    out += ",\"function\":\"";
    out += functionName(record.function);
    out += "\",\"storage\":";
    appendInteger(out, record.storage);
    out += ",\"tariff\":";
    appendInteger(out, record.tariff);
    out += ",\"subunit\":";
    appendInteger(out, record.subunit);
    out += ",\"unit\":";
    appendJsonQuoted(out, record.unit);
    out += ",\"value\":";
    appendValue(out, record);
    if (!record.error.empty()) {
        out += ",\"error\":";
        appendJsonQuoted(out, record.error);
        out += ",\"raw\":";
        if (record.rawBytes.empty()) {
            appendJsonQuoted(out, record.rawHex);
        } else {
            out += '"';
            appendRawHex(out, record);  // hex digits and blanks need no escapes
            out += '"';
        }
    }
    out += '}';
}

}  // namespace

void appendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    // Whole numbers a double holds exactly print as integers (100000000, not
    // 1e+08); to_chars gives the rest the shortest text that reads back the same.
    constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
    const bool negativeZero = value == 0 && std::signbit(value);  // "-0" keeps its sign below
    if (value == std::trunc(value) && std::fabs(value) < kExactIntegers && !negativeZero) {
        appendInteger(out, static_cast<std::int64_t>(value));
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

std::string jsonNumber(double value) {
    std::string out;
    appendJsonNumber(out, value);
    return out;
}

void appendReadingJson(std::string& out, const ReadingView& reading) {
    out += "{\"protocol\":";
    appendJsonQuoted(out, reading.protocol());
    out += ",\"check\":\"";
    out += checkName(reading);
    out += '"';
    if (!reading.error().empty()) {
        out += ",\"error\":";
        appendJsonQuoted(out, reading.error());
    }
    if (!reading.checkProblem().empty()) {
        out += ",\"reason\":";
        appendJsonQuoted(out, reading.checkProblem());
    }
    out += ",\"header\":";
    appendHeader(out, reading);
    out += ",\"records\":[";
    for (std::size_t i = 0; i < reading.recordCount(); ++i) {
        if (i) out += ',';
        appendRecord(out, reading.record(i, false));
    }
    out += "]}";
}

std::string readingJson(const Reading& reading) {
    std::string out;
    appendReadingJson(out, ReadingOfRecords(reading));
    return out;
}

}  // namespace mb
