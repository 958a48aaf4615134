// The printable report: one page with its style inline and no scripts, fonts
// or images from elsewhere, so it can be mailed, archived and printed as it
// is. Summary first, then the reply times as bars, then a table per line with
// its failures at the top.
#include <algorithm>
#include <cmath>

#include "plan/Reports.h"

namespace mb::plan {
namespace {

constexpr const char* kStyle = R"(<style>
body{font-family:sans-serif;font-size:10pt;margin:1.5em;color:#111}
h1{font-size:15pt}h2{font-size:12pt;margin-top:1.5em}
table{border-collapse:collapse;width:100%;margin:.5em 0}
th,td{border:1px solid #bbb;padding:2px 5px;text-align:left;vertical-align:top}
th{background:#eee}
.passed{color:#060}.failed,.error{color:#b00;font-weight:bold}.skipped{color:#777}
.incomplete{border:2px solid #b00;padding:.5em;color:#b00;font-weight:bold}
.bar{background:#4a7;height:1em;-webkit-print-color-adjust:exact;print-color-adjust:exact}
td.num{text-align:right;white-space:nowrap}
@media print{body{margin:0}h2{page-break-after:avoid}tr{page-break-inside:avoid}}
</style>
)";

// The bin width for `max`: 1, 2, 5, 10, 20, 50 ... ms, at most 12 bins.
double binWidth(double max) {
    for (double w = 1;; w *= 10)
        for (double f : {1.0, 2.0, 5.0})
            if (max / (w * f) < 12) return w * f;
}

std::string histogram(const PlanResult& result) {
    std::vector<double> all;
    for (const LineResult& line : result.lines)
        for (const StepResult& s : line.steps)
            all.insert(all.end(), s.replyMs.begin(), s.replyMs.end());
    if (all.empty()) return "<p>No answers, no reply times.</p>\n";
    const double max = *std::max_element(all.begin(), all.end());
    const double width = binWidth(max);
    std::vector<int> bins(static_cast<std::size_t>(max / width) + 1, 0);
    for (double ms : all) ++bins[static_cast<std::size_t>(ms / width)];
    const int most = *std::max_element(bins.begin(), bins.end());
    std::string out =
        "<table><tr><th>Reply (request end to first byte)</th><th>Answers</th><th "
        "style=\"width:60%\"></th></tr>\n";
    for (std::size_t i = 0; i < bins.size(); ++i) {
        const int percent = static_cast<int>(std::lround(100.0 * bins[i] / most));
        const auto from = static_cast<long>(static_cast<double>(i) * width);
        const auto to = static_cast<long>(static_cast<double>(i + 1) * width);
        out += "<tr><td class=\"num\">" + std::to_string(from) + "–" + std::to_string(to) +
               " ms</td><td class=\"num\">" + std::to_string(bins[i]) +
               "</td><td><div class=\"bar\" style=\"width:" + std::to_string(percent) +
               "%\"></div></td></tr>\n";
    }
    return out + "</table>\n";
}

std::string replyCell(const StepResult& s) {
    if (s.replyMs.empty()) return "";
    const auto [lo, hi] = std::minmax_element(s.replyMs.begin(), s.replyMs.end());
    return msText(*lo) == msText(*hi) ? msText(*lo) : msText(*lo) + "–" + msText(*hi);
}

std::string lineTable(const LineResult& line) {
    const Counts c = PlanResult::counts(line);
    const std::string network =
        line.roundTripMs ? ", round trip " + msText(*line.roundTripMs) + " ms" : "";
    std::string out =
        "<h2>Line " + markupText(line.name) + " (" + markupText(line.port) + network +
        "): " + std::to_string(c.passed) + " of " + std::to_string(c.tests) + " passed, " +
        secondsText(line.seconds) + " s</h2>\n" +
        "<table><tr><th>Meter</th><th>Address</th><th>Step</th><th>Result</th><th>Reason</th>"
        "<th>Reply ms</th><th>Id</th><th>Reading</th></tr>\n";
    for (const StepResult* s : failuresFirst(line)) {
        const char* outcome = outcomeName(s->outcome);
        out += "<tr><td>" + markupText(s->meter) + "</td><td>" +
               markupText(s->protocol + " " + s->address) + "</td><td>" + markupText(s->step) +
               "</td><td class=\"" + outcome + "\">" + outcome + "</td><td>" +
               markupText(s->reason) + "</td><td class=\"num\">" + replyCell(*s) + "</td><td>" +
               (s->reading ? markupText(readingId(*s->reading)) : "") + "</td><td>" +
               (s->reading ? markupText(readingSummary(*s->reading)) : "") + "</td></tr>\n";
    }
    return out + "</table>\n";
}

}  // namespace

std::string htmlReport(const PlanResult& result) {
    const Counts c = result.counts();
    std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                      markupText(result.name) + "</title>\n" + kStyle + "</head><body>\n<h1>" +
                      markupText(result.name) + "</h1>\n";
    if (!result.complete)
        out +=
            "<p class=\"incomplete\">Incomplete: the run was interrupted; steps that did not run "
            "are "
            "marked skipped.</p>\n";
    out += "<table><tr><th>Plan</th><td>" + markupText(result.file) +
           "</td></tr><tr><th>Started</th><td>" + markupText(result.startedAt) +
           "</td></tr><tr><th>Took</th><td>" + secondsText(result.seconds) +
           " s</td></tr><tr><th>Result</th><td class=\"" +
           (c.passed == c.tests ? "passed\">all passed" : "failed\">not all passed") +
           "</td></tr><tr><th>Tests</th><td>" + std::to_string(c.tests) + ": " +
           std::to_string(c.passed) + " passed, " + std::to_string(c.failed) + " failed, " +
           std::to_string(c.errors) + " errors, " + std::to_string(c.skipped) +
           " skipped</td></tr></table>\n<h2>Reply times</h2>\n" + histogram(result);
    for (const LineResult& line : result.lines) out += lineTable(line);
    return out + "</body></html>\n";
}

}  // namespace mb::plan
