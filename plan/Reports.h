// The reports of a plan run, each written from the same PlanResult: JUnit XML
// for CI dashboards and production databases, CSV (one row per meter and
// step), a self-contained printable HTML page, and JSON for scripts. A run
// that was interrupted says so in each.
#pragma once

#include <string>

#include "plan/PlanResult.h"

namespace mb::plan {

// testsuites > testsuite per line > testcase per meter and step; failure,
// error and skipped with their message; counts and times on each level.
std::string junitReport(const PlanResult& result);

// RFC 4180: header row, then one row per meter and step, CRLF line ends.
std::string csvReport(const PlanResult& result);

// One HTML page, no external resources: summary, reply-time histogram, a
// table per line with its failures first.
std::string htmlReport(const PlanResult& result);

// One JSON object on one line.
std::string jsonReport(const PlanResult& result);

// Helpers the reports share.
// Text for XML and HTML, in attributes or content: the five entities escaped, a
// newline as &#10;, and no control character XML 1.0 forbids.
std::string markupText(const std::string& text);
// "12.3"; milliseconds to a tenth.
std::string msText(double ms);
// "1.234"; seconds to the millisecond.
std::string secondsText(double seconds);
// "Energy=4711000 Wh; Volume=1234.56 m^3": the current values, SI units.
std::string readingSummary(const Reading& reading);
// The meter's identification as the reading gives it (M-Bus id, CJ/T 188 address).
std::string readingId(const Reading& reading);
// Failures and errors first, then skipped, then passed; plan order within each.
std::vector<const StepResult*> failuresFirst(const LineResult& line);

}  // namespace mb::plan
