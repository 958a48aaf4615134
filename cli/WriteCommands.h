// The shape every write command shares: options, announce, --dry-run, open the
// line, the one-meter check before a write to "any meter", the write itself.
#pragma once

#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/WriteStep.h"

namespace mb::cli {

// Options of a write command: the line's, --address, --timeout, --retries,
// --json, --dry-run, plus `valued` and `switches` of its own.
OptionTable writeSpec(std::set<std::string> valued, std::set<std::string> switches = {},
                      std::size_t positional = 0);

// Runs `step` as the options say. `anyMeterProbe`, when given, is sent first and
// must find exactly one meter, else nothing is written (exit 1).
int runWrite(const CliOptions& options, const WriteStep& step,
             const std::optional<ExchangeRequest>& anyMeterProbe, const Args& args);

// set-address, set-time and valve for a CJ/T 188 meter.
int cj188SetAddress(const CliOptions& options, const Args& args);
int cj188SetTime(const CliOptions& options, const Args& args);
// set-time --protocol cj188 --settlement-day D: C 04, DI A011.
int cj188WriteSettlementDay(const CliOptions& options, const Args& args);

}  // namespace mb::cli
