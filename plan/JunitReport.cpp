// JUnit XML as CI tools read it (Jenkins, GitLab, Azure): the counts on
// testsuites and each testsuite add up over their test cases; a failed case
// holds <failure>, a line that could not be used <error>, a step not run
// <skipped>. An interrupted run carries the property incomplete=true.
#include "plan/Reports.h"

namespace mb::plan {
namespace {

std::string countsAttributes(const Counts& c) {
    return " tests=\"" + std::to_string(c.tests) + "\" failures=\"" + std::to_string(c.failed) +
           "\" errors=\"" + std::to_string(c.errors) + "\" skipped=\"" + std::to_string(c.skipped) +
           "\"";
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
    std::string out = "    <testcase classname=\"" + markupText(line.name + "." + s.meter) +
                      "\" name=\"" + markupText(s.meter + " " + s.step) + "\" time=\"" +
                      secondsText(s.seconds) + "\"";
    const std::string body = markupText(details(s));
    switch (s.outcome) {
        case Outcome::Passed:
            return out + ">\n      <system-out>" + body + "</system-out>\n    </testcase>\n";
        case Outcome::Failed:
            out += ">\n      <failure message=\"" + markupText(s.reason) + "\" type=\"" +
                   markupText(s.kind) + "\">" + body + "</failure>\n";
            break;
        case Outcome::Error:
            out += ">\n      <error message=\"" + markupText(s.reason) + "\" type=\"" +
                   markupText(s.kind) + "\">" + body + "</error>\n";
            break;
        case Outcome::Skipped:
            out += ">\n      <skipped message=\"" + markupText(s.reason) + "\"/>\n";
            break;
    }
    return out + "    </testcase>\n";
}

}  // namespace

std::string junitReport(const PlanResult& result) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"" +
                      markupText(result.name) + "\"" + countsAttributes(result.counts()) +
                      " time=\"" + secondsText(result.seconds) + "\" timestamp=\"" +
                      markupText(result.startedAt) + "\">\n";
    int id = 0;
    for (const LineResult& line : result.lines) {
        out += "  <testsuite name=\"" + markupText(line.name) + "\" id=\"" + std::to_string(id++) +
               "\"" + countsAttributes(PlanResult::counts(line)) + " time=\"" +
               secondsText(line.seconds) + "\" timestamp=\"" + markupText(result.startedAt) +
               "\">\n    <properties>\n      <property name=\"port\" value=\"" +
               markupText(line.port) + "\"/>\n      <property name=\"plan\" value=\"" +
               markupText(result.file) + "\"/>\n";
        if (line.roundTripMs)
            out += "      <property name=\"network_round_trip_ms\" value=\"" +
                   msText(*line.roundTripMs) + "\"/>\n";
        if (!result.complete)
            out +=
                "      <property name=\"incomplete\" value=\"true: interrupted, steps not run are "
                "skipped\"/>\n";
        out += "    </properties>\n";
        for (const StepResult& s : line.steps) out += testcase(line, s);
        out += "  </testsuite>\n";
    }
    return out + "</testsuites>\n";
}

}  // namespace mb::plan
