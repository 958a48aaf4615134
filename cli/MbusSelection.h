// Reaching an M-Bus meter by its identification number: select it (SND_UD to
// 253, CI 52), talk to it at 253, deselect it (SND_NKE to 253).
#pragma once

#include <optional>
#include <string>

#include "cli/LineSession.h"
#include "mbus/MbusRequests.h"

namespace mb::cli {

// "12345678", "1234FFFF": eight digits, F for any digit.
std::optional<SecondaryMask> secondaryMaskOption(const std::string& text);

// Selects by `mask`. True when exactly one meter acknowledged; else `why` says
// whether none or several did (and the selection is ended again).
bool selectOne(LineSession& session, const SecondaryMask& mask,
               const ExchangeRunner::Options& options, std::string& why);

// SND_NKE to 253: the selected meter answers E5 and is deselected.
void deselect(LineSession& session, const ExchangeRunner::Options& options);

}  // namespace mb::cli
