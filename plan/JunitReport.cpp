// JUnit XML as CI tools read it (Jenkins, GitLab, Azure): the counts on
// testsuites and each testsuite add up over their test cases; a failed case
// holds <failure>, a line that could not be used <error>, a step not run
// <skipped>. An interrupted run carries the property incomplete=true.
#include "plan/Reports.h"

namespace mb::plan {
namespace {

// Attribute and text content: the five entities, and no control character
// XML 1.0 forbids.
std::string xml(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\n': out += "&#10;"; break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
        }
    }
    return out;
}

std::string countsAttributes(const Counts& c) {
    return " tests=\"" + std::to_string(c.tests) + "\" failures=\"" + std::to_string(c.failed) + "\" errors=\"" +
           std::to_string(c.errors) + "\" skipped=\"" + std::to_string(c.skipped) + "\"";
}

std::string details(const StepResult& s) {
    std::string out;
    if (!s.replyMs.empty()) {
        out += "reply ms:";
        for (double ms : s.replyMs) out += " " + msText(ms);
        out += "\n";
    }
    out += "requests: " + std::to_string(s.exchanges) + "\n";
    if (s.reading) {
        if (const std::string id = readingId(*s.reading); !id.empty()) out += "id: " + id + "\n";
        out += "reading: " + readingSummary(*s.reading) + "\n";
    }
    return out;
}

std::string testcase(const LineResult& line, const StepResult& s) {
    std::string out = "    <testcase classname=\"" + xml(line.name + "." + s.meter) + "\" name=\"" +
                      xml(s.meter + " " + s.step) + "\" time=\"" + secondsText(s.seconds) + "\"";
    const std::string body = xml(details(s));
    switch (s.outcome) {
        case Outcome::Passed: return out + ">\n      <system-out>" + body + "</system-out>\n    </testcase>\n";
        case Outcome::Failed:
            out += ">\n      <failure message=\"" + xml(s.reason) + "\" type=\"" + xml(s.kind) + "\">" + body +
                   "</failure>\n";
            break;
        case Outcome::Error:
            out += ">\n      <error message=\"" + xml(s.reason) + "\" type=\"" + xml(s.kind) + "\">" + body +
                   "</error>\n";
            break;
        case Outcome::Skipped: out += ">\n      <skipped message=\"" + xml(s.reason) + "\"/>\n"; break;
    }
    return out + "    </testcase>\n";
}

}  // namespace

std::string junitReport(const PlanResult& result) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"" + xml(result.name) + "\"" +
                      countsAttributes(result.counts()) + " time=\"" + secondsText(result.seconds) + "\" timestamp=\"" +
                      xml(result.startedAt) + "\">\n";
    int id = 0;
    for (const LineResult& line : result.lines) {
        out += "  <testsuite name=\"" + xml(line.name) + "\" id=\"" + std::to_string(id++) + "\"" +
               countsAttributes(PlanResult::counts(line)) + " time=\"" + secondsText(line.seconds) + "\" timestamp=\"" +
               xml(result.startedAt) + "\">\n    <properties>\n      <property name=\"port\" value=\"" +
               xml(line.port) + "\"/>\n      <property name=\"plan\" value=\"" + xml(result.file) + "\"/>\n";
        if (line.roundTripMs)
            out += "      <property name=\"network_round_trip_ms\" value=\"" + msText(*line.roundTripMs) + "\"/>\n";
        if (!result.complete)
            out += "      <property name=\"incomplete\" value=\"true: interrupted, steps not run are skipped\"/>\n";
        out += "    </properties>\n";
        for (const StepResult& s : line.steps) out += testcase(line, s);
        out += "  </testsuite>\n";
    }
    return out + "</testsuites>\n";
}

}  // namespace mb::plan
