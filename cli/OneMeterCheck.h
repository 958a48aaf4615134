// Before a write to "any meter" (M-Bus 254, CJ/T 188 AA×7): make sure exactly
// one meter is on the line, so that one write cannot change several meters.
#pragma once

#include <string>

#include "cli/LineSession.h"
#include "core/ExchangeRequest.h"

namespace mb::cli {

// Sends `probe` (a read every meter answers) and judges its answers. True when
// exactly one meter answered; otherwise `why` says how many ("no meter
// answered", "3 meters answered", or "more than one meter answered (...)"
// with the whole answers seen when the answers garbled each other).
bool exactlyOneMeter(LineSession& session, const ExchangeRequest& probe,
                     const ExchangeRunner::Options& options, std::string& why);

}  // namespace mb::cli
