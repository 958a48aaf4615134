// Options the commands that talk to one meter share: the CJ/T 188 meter type,
// the wait and retries, and the exit status a result gives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "core/ExchangeResult.h"
#include "port/ExchangeRunner.h"

namespace mb::cli {

// "10", "10H", "1a": one hex byte, with or without the H the window shows.
std::optional<std::uint8_t> meterTypeOption(std::string text);

// --timeout and --retries (default 2).
std::optional<ExchangeRunner::Options> attempts(const CliOptions& options, std::string& error);

// 0 for an answer that is not the meter's error, 2 when nothing was sent, 1 otherwise.
int exitStatus(const ExchangeResult& result);

}  // namespace mb::cli
