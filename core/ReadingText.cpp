#include "core/ReadingText.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>
#include <variant>

namespace mb {
namespace {

// Decoded code point at text[i] and its length; length 0 for a byte that does
// not start valid UTF-8.
std::pair<std::uint32_t, std::size_t> codePointAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) length = 2, minimum = 0x80;
    else if ((lead & 0xF0) == 0xE0) length = 3, minimum = 0x800;
    else if ((lead & 0xF8) == 0xF0) length = 4, minimum = 0x10000;
    else return {0, 0};
    if (i + length > text.size()) return {0, 0};
    std::uint32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<std::uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) return {0, 0};
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
    return {cp, length};
}

// C0, DEL and C1 controls become \xHH / \u00HH; bytes that are not UTF-8 become U+FFFD.
std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [cp, length] = codePointAt(text, i);
        char escape[8];
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (cp < 0x20 || cp == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(cp));
            out += escape;
        } else if (cp >= 0x80 && cp <= 0x9F) {
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(cp));
            out += escape;
        } else {
            out.append(text, i, length);
        }
        i += length;
    }
    return out;
}

std::string functionWords(RecordFunction function) {
    switch (function) {
        case RecordFunction::Instantaneous: return {};
        case RecordFunction::Maximum: return "maximum";
        case RecordFunction::Minimum: return "minimum";
        case RecordFunction::Error: return "error state";
        case RecordFunction::Manufacturer: return "manufacturer";
        case RecordFunction::Other: return "other function";
    }
    return "other function";
}

// "Power (maximum, tariff 2)": the qualifiers appear only when the record is
// not the plain current value.
std::string quantityWithQualifiers(const Record& record) {
    std::vector<std::string> qualifiers;
    if (std::string f = functionWords(record.function); !f.empty()) qualifiers.push_back(std::move(f));
    if (record.storage != 0) qualifiers.push_back("storage " + std::to_string(record.storage));
    if (record.tariff != 0) qualifiers.push_back("tariff " + std::to_string(record.tariff));
    if (record.subunit != 0) qualifiers.push_back("subunit " + std::to_string(record.subunit));

    std::string text = record.quantity.empty() ? "Record" : printable(record.quantity);
    if (qualifiers.empty()) return text;
    text += " (";
    for (std::size_t i = 0; i < qualifiers.size(); ++i) text += (i ? ", " : "") + qualifiers[i];
    return text + ")";
}

std::string headerValue(const HeaderField& field) {
    if (const auto* number = std::get_if<std::int64_t>(&field.value)) return std::to_string(*number);
    return printable(std::get<std::string>(field.value));
}

}  // namespace

std::vector<std::string> readingLines(const Reading& reading) {
    std::vector<std::string> lines;
    if (!reading.error.empty()) {
        lines.push_back("Frame error: " + printable(reading.error));
        return lines;
    }
    if (!reading.checkPassed) {
        lines.push_back(reading.checkProblem.empty()
                            ? "Check failed: start, length, checksum or stop byte is wrong"
                            : "Check failed: " + printable(reading.checkProblem));
    }
    for (const HeaderField& field : reading.header) {
        lines.push_back(printable(field.label) + "  " + headerValue(field));
    }
    for (const Record& record : reading.records) {
        std::string line = quantityWithQualifiers(record) + "  ";
        if (!record.error.empty()) {
            line += "error: " + printable(record.error) + " [" + printable(record.rawHex) + "]";
        } else {
            line += printable(record.display);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace mb
