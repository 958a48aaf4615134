// read --all: an M-Bus meter whose data spans several telegrams, read as one.
#pragma once

#include <cstdint>

#include "cli/LineSession.h"
#include "core/ExchangeSequence.h"

namespace mb::cli {

// Runs the steps of `sequence` one after the other and returns its result.
ExchangeResult runSequence(LineSession& session, ExchangeSequence& sequence,
                           const ExchangeRunner::Options& options);

// mbus/TelegramSequence: SND_NKE, then REQ_UD2 with FCB 1, toggling the FCB for each further
// telegram while the last record says more records follow (DIF 1F); a retry keeps the FCB, so the
// meter repeats the telegram. The telegrams' records are merged into the first result; a telegram
// that does not pass ends the read with it.
ExchangeResult readAllTelegrams(LineSession& session, std::uint8_t address,
                                const ExchangeRunner::Options& options);

}  // namespace mb::cli
