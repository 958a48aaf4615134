// One write to a meter as every write command runs it: say what it will do,
// with --dry-run print the frame and stop, else send it and print the answer.
#pragma once

#include <string>

#include "cli/LineSession.h"
#include "core/ExchangeRequest.h"
#include "core/ExchangeResult.h"

namespace mb::cli {

struct WriteStep {
    ExchangeRequest request;
    std::string intent;  // "close the valve of CJ/T 188 meter 78330000000000"
};

// Prints the intent (standard error with --json, so standard output stays one
// object) and the frame; with `dryRun` also that nothing is sent.
void announce(const WriteStep& step, bool json, bool dryRun);

// Sends the write and prints the answer as read does; the exit status.
int sendAndPrint(LineSession& session, const WriteStep& step,
                 const ExchangeRunner::Options& options, bool json,
                 ExchangeResult* result = nullptr);

// --dry-run with --json: the object says what would have been sent.
std::string dryRunJson(const WriteStep& step);

}  // namespace mb::cli
