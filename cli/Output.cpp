#include "cli/Output.h"

#include <cstdio>
#include <variant>

#include "core/JsonText.h"
#include "core/ProtocolCore.h"
#include "core/ReadingJson.h"
#include "core/ReadingText.h"

namespace mb::cli {
namespace {

std::string cell(const std::string& text, std::size_t width) {
    return text.size() >= width ? text + ' ' : text + std::string(width - text.size(), ' ');
}

}  // namespace

std::string readingOutput(const Reading& reading, bool json) {
    if (json) return readingJson(reading) + '\n';
    std::string out;
    if (reading.checkPassed) out += std::string(kCheckPassText) + '\n';
    for (const auto& line : readingLines(reading)) out += line + '\n';
    return out;
}

std::string foundTable(const std::vector<FoundMeter>& found) {
    std::string out = cell("ADDRESS", 9) + cell("ID", 16) + cell("MAN", 5) + cell("VER", 5) + "MEDIUM\n";
    for (const auto& m : found) {
        out += cell(m.address ? std::to_string(*m.address) : "-", 9) + cell(m.id, 16) +
               cell(m.manufacturer, 5) + cell(m.version ? std::to_string(*m.version) : "", 5) + m.medium;
        if (!m.note.empty()) out += (m.medium.empty() ? "" : "  ") + std::string("(") + m.note + ")";
        out += '\n';
    }
    out += std::to_string(found.size()) + (found.size() == 1 ? " meter found\n" : " meters found\n");
    return out;
}

std::string foundJson(const std::vector<FoundMeter>& found) {
    std::string out = "{\"found\":[";
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto& m = found[i];
        if (i) out += ',';
        out += "{\"address\":" + (m.address ? std::to_string(*m.address) : std::string("null"));
        out += ",\"id\":" + jsonQuoted(m.id);
        out += ",\"manufacturer\":" + jsonQuoted(m.manufacturer);
        out += ",\"version\":" + (m.version ? std::to_string(*m.version) : std::string("null"));
        out += ",\"medium\":" + jsonQuoted(m.medium);
        if (!m.note.empty()) out += ",\"note\":" + jsonQuoted(m.note);
        out += '}';
    }
    return out + "]}\n";
}

void fillFromReading(FoundMeter& meter, const Reading& reading) {
    for (const auto& field : reading.header) {
        const auto* text = std::get_if<std::string>(&field.value);
        const auto* number = std::get_if<std::int64_t>(&field.value);
        if (field.key == "id" && text) meter.id = *text;
        else if (field.key == "manufacturer" && text) meter.manufacturer = *text;
        else if (field.key == "version" && number) meter.version = *number;
        else if (field.key == "medium" && text) meter.medium = *text;
        else if (field.key == "address" && number && !meter.address) meter.address = static_cast<int>(*number);
        else if (field.key == "address" && text && meter.id.empty()) meter.id = *text;
    }
}

}  // namespace mb::cli
