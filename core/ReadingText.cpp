#include "core/ReadingText.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>

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

bool isPrintableAscii(char c) {
    return c >= 0x20 && c < 0x7F;
}

// C0, DEL and C1 controls become \xHH / \u00HH; bytes that are not UTF-8 become U+FFFD.
void appendPrintable(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t plain = i;
        while (plain < text.size() && isPrintableAscii(text[plain])) ++plain;
        out.append(text.data() + i, plain - i);
        i = plain;
        if (i == text.size()) break;
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
}

template <typename Integer>
void appendInteger(std::string& out, Integer value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

std::string_view functionWords(RecordFunction function) {
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
void appendQuantity(std::string& out, const RecordView& record) {
    if (record.quantity.empty()) {
        out += "Record";
    } else {
        appendPrintable(out, record.quantity);
    }
    bool first = true;
    auto qualifier = [&](std::string_view words) {
        out += first ? " (" : ", ";
        out += words;
        first = false;
    };
    if (const std::string_view f = functionWords(record.function); !f.empty()) qualifier(f);
    const std::pair<std::string_view, std::uint64_t> numbered[] = {
        {"storage ", record.storage}, {"tariff ", record.tariff}, {"subunit ", record.subunit}};
    for (const auto& [words, number] : numbered) {
        if (number == 0) continue;
        qualifier(words);
        appendInteger(out, number);
    }
    if (!first) out += ')';
}

}  // namespace

void appendReadingText(std::string& out, const ReadingView& reading) {
    if (!reading.error().empty()) {
        out += "Frame error: ";
        appendPrintable(out, reading.error());
        out += '\n';
        return;
    }
    if (!reading.checkPassed()) {
        if (reading.checkProblem().empty()) {
            out += "Check failed: start, length, checksum or stop byte is wrong\n";
        } else {
            out += "Check failed: ";
            appendPrintable(out, reading.checkProblem());
            out += '\n';
        }
    }
    for (std::size_t i = 0; i < reading.headerCount(); ++i) {
        const HeaderFieldView field = reading.headerField(i);
        appendPrintable(out, field.label);
        out += "  ";
        if (field.isNumber) {
            appendInteger(out, field.number);
        } else {
            appendPrintable(out, field.text);
        }
        out += '\n';
    }
    std::string raw;
    for (std::size_t i = 0; i < reading.recordCount(); ++i) {
        const RecordView record = reading.record(i, true);
        appendQuantity(out, record);
        out += "  ";
        if (!record.error.empty()) {
            out += "error: ";
            appendPrintable(out, record.error);
            out += " [";
            raw.clear();
            appendRawHex(raw, record);
            appendPrintable(out, raw);
            out += ']';
        } else {
            appendPrintable(out, record.display);
        }
        out += '\n';
    }
}

std::vector<std::string> readingLines(const Reading& reading) {
    std::string text;
    appendReadingText(text, ReadingOfRecords(reading));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return lines;
}

}  // namespace mb
