#include "core/ReadingJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "core/JsonText.h"

namespace mb {
namespace {

const char* functionName(RecordFunction function) {
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

const char* checkName(const Reading& reading) {
    if (!reading.error.empty()) return "error";
    return reading.checkPassed ? "pass" : "fail";
}

std::string headerJson(const Reading& reading) {
    std::string out = "{";
    for (std::size_t i = 0; i < reading.header.size(); ++i) {
        const HeaderField& field = reading.header[i];
        if (i) out += ',';
        out += jsonQuoted(field.key) + ':';
        if (const auto* number = std::get_if<std::int64_t>(&field.value)) {
            out += std::to_string(*number);
        } else {
            out += jsonQuoted(std::get<std::string>(field.value));
        }
    }
    return out + '}';
}

std::string valueJson(const Record& record) {
    if (!record.error.empty()) return "null";
    if (const auto* number = std::get_if<double>(&record.value)) return jsonNumber(*number);
    if (const auto* text = std::get_if<std::string>(&record.value)) return jsonQuoted(*text);
    return "null";
}

std::string recordJson(const Record& record) {
    std::string out = "{\"quantity\":" + jsonQuoted(record.quantity);
    out += ",\"function\":\"" + std::string(functionName(record.function)) + '"';
    out += ",\"storage\":" + std::to_string(record.storage);
    out += ",\"tariff\":" + std::to_string(record.tariff);
    out += ",\"subunit\":" + std::to_string(record.subunit);
    out += ",\"unit\":" + jsonQuoted(record.unit);
    out += ",\"value\":" + valueJson(record);
    if (!record.error.empty()) {
        out += ",\"error\":" + jsonQuoted(record.error);
        out += ",\"raw\":" + jsonQuoted(record.rawHex);
    }
    return out + '}';
}

}  // namespace

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    // Whole numbers a double holds exactly print as integers (100000000, not
    // 1e+08); to_chars gives the rest the shortest text that reads back the same.
    constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
    const bool negativeZero = value == 0 && std::signbit(value);  // "-0" keeps its sign below
    if (value == std::trunc(value) && std::fabs(value) < kExactIntegers && !negativeZero) {
        return std::to_string(static_cast<std::int64_t>(value));
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string readingJson(const Reading& reading) {
    std::string out = "{\"protocol\":" + jsonQuoted(reading.protocol);
    out += ",\"check\":\"" + std::string(checkName(reading)) + '"';
    if (!reading.error.empty()) out += ",\"error\":" + jsonQuoted(reading.error);
    if (!reading.checkProblem.empty()) out += ",\"reason\":" + jsonQuoted(reading.checkProblem);
    out += ",\"header\":" + headerJson(reading);
    out += ",\"records\":[";
    for (std::size_t i = 0; i < reading.records.size(); ++i) {
        if (i) out += ',';
        out += recordJson(reading.records[i]);
    }
    return out + "]}";
}

}  // namespace mb
