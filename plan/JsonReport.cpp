// --json: the whole run as one object, each result with the reading's own
// JSON (the object read --json prints) when one came.
#include "core/JsonText.h"
#include "core/ReadingJson.h"
#include "plan/Reports.h"

namespace mb::plan {
namespace {

std::string countsJson(const Counts& c) {
    return "{\"tests\":" + std::to_string(c.tests) + ",\"passed\":" + std::to_string(c.passed) +
           ",\"failed\":" + std::to_string(c.failed) + ",\"errors\":" + std::to_string(c.errors) +
           ",\"skipped\":" + std::to_string(c.skipped) + "}";
}

std::string stepJson(const StepResult& s) {
    std::string out = "{\"meter\":" + jsonQuoted(s.meter) + ",\"meter_number\":" + std::to_string(s.meterNumber) +
                      ",\"protocol\":" + jsonQuoted(s.protocol) + ",\"address\":" + jsonQuoted(s.address) +
                      ",\"step\":" + jsonQuoted(s.step) + ",\"result\":" + jsonQuoted(outcomeName(s.outcome));
    if (!s.kind.empty()) out += ",\"kind\":" + jsonQuoted(s.kind) + ",\"reason\":" + jsonQuoted(s.reason);
    out += ",\"reply_ms\":[";
    for (std::size_t i = 0; i < s.replyMs.size(); ++i) out += (i ? "," : "") + msText(s.replyMs[i]);
    out += "],\"requests\":" + std::to_string(s.exchanges) + ",\"started\":" + jsonQuoted(s.startedAt) +
           ",\"seconds\":" + secondsText(s.seconds);
    if (s.reading) out += ",\"reading\":" + readingJson(*s.reading);
    return out + "}";
}

}  // namespace

std::string jsonReport(const PlanResult& result) {
    std::string out = "{\"plan\":" + jsonQuoted(result.name) + ",\"file\":" + jsonQuoted(result.file) +
                      ",\"started\":" + jsonQuoted(result.startedAt) + ",\"seconds\":" + secondsText(result.seconds) +
                      ",\"run\":" + jsonQuoted(result.complete ? "complete" : "incomplete") +
                      ",\"counts\":" + countsJson(result.counts()) + ",\"lines\":[";
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        const LineResult& line = result.lines[i];
        out += (i ? ",{" : "{") + std::string("\"name\":") + jsonQuoted(line.name) + ",\"port\":" +
               jsonQuoted(line.port) + ",\"seconds\":" + secondsText(line.seconds) +
               (line.roundTripMs ? ",\"round_trip_ms\":" + msText(*line.roundTripMs) : "") +
               ",\"counts\":" + countsJson(PlanResult::counts(line)) + ",\"results\":[";
        for (std::size_t j = 0; j < line.steps.size(); ++j) out += (j ? "," : "") + stepJson(line.steps[j]);
        out += "]}";
    }
    return out + "]}\n";
}

}  // namespace mb::plan
