// An exchange's result as the lines a technician reads: the Data Analysis
// pane shows them, the command line prints them. "Check Pass！" is the first
// line of a data answer that passed, and of nothing else.
#pragma once

#include <string>
#include <vector>

#include "core/ExchangeResult.h"

namespace mb {

// The verdict and reply time first, then what the answer says: the records
// (the values a technician watches), then the header a few fields to a line.
std::vector<std::string> resultLines(const ExchangeResult& result);
// How many of resultLines() are the verdict's own: the tally of a continuous
// reading goes right after them.
std::size_t verdictLineCount(const ExchangeResult& result);

// One line for the session record: "pass, Reply in 42 ms", "no-reply, No reply within 2.2 s".
std::string resultSummary(const ExchangeResult& result);

}  // namespace mb
