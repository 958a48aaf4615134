#include "cli/Output.h"

#include <cstdio>
#include <variant>

#include "core/JsonText.h"
#include "core/ExchangeText.h"
#include "core/Protocol.h"
#include "core/ReadingJson.h"
#include "core/ReadingText.h"
#include "core/ReplyVerdict.h"

namespace mb::cli {
namespace {

std::string cell(const std::string& text, std::size_t width) {
    return text.size() >= width ? text + ' ' : text + std::string(width - text.size(), ' ');
}

}  // namespace

std::string readingOutput(const Reading& reading, bool json) {
    if (json) return readingJson(reading) + '\n';
    std::string out;
    // A meter's error answer passes its frame checks but is no data pass.
    if (reading.checkPassed)
        out += std::string(reading.meterError ? kMeterErrorText : kCheckPassText) + '\n';
    for (const auto& line : readingLines(reading)) out += line + '\n';
    return out;
}

namespace {

std::string resultFields(const ExchangeResult& result) {
    std::string out = ",\"check\":" + jsonQuoted(std::string(verdictName(result.verdict)));
    if (!result.reason.empty()) out += ",\"reason\":" + jsonQuoted(result.reason);
    if (result.replyTime) {
        char ms[32];
        std::snprintf(ms, sizeof ms, "%.1f", static_cast<double>(result.replyTime->count()) / 1000.0);
        out += ",\"reply_ms\":" + std::string(ms);
    }
    out += ",\"attempt\":" + std::to_string(result.attempt);
    out += ",\"attempts\":" + std::to_string(result.attempts);
    if (result.late) out += ",\"late\":true";
    if (result.noiseBytes > 0) out += ",\"noise_bytes\":" + std::to_string(result.noiseBytes);
    out += ",\"bytes_received\":" + std::to_string(result.bytesSeen);
    return out;
}

}  // namespace

std::string resultOutput(const ExchangeResult& result, bool json) {
    if (!json) {
        std::string out;
        for (const std::string& line : resultLines(result)) out += line + '\n';
        if (result.late && result.attempts > 1 && result.replyTime)
            out += "answered attempt " + std::to_string(result.attempt) + " after " +
                   millisecondsText(*result.replyTime) + '\n';
        return out;
    }
    const std::string protocol(result.request.protocol ? result.request.protocol->name() : "");
    std::string out = "{\"protocol\":" + jsonQuoted(protocol) + resultFields(result);
    if (result.reading.protocol.empty()) return out + "}\n";
    // The reading's own fields follow; its "check" only judged the frame.
    const std::string reading = readingJson(result.reading);
    const std::size_t check = reading.find(",\"check\":\"");
    const std::size_t rest = reading.find('"', check + 10) + 1;
    return out + reading.substr(rest) + '\n';
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
