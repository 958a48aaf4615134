#include "cli/MultiTelegram.h"

#include "mbus/TelegramSequence.h"

namespace mb::cli {

ExchangeResult runSequence(LineSession& session, ExchangeSequence& sequence,
                           const ExchangeRunner::Options& options) {
    std::optional<ExchangeRequest> request = sequence.first();
    while (request) request = sequence.next(session.exchange(std::move(*request), options));
    return sequence.result();
}

ExchangeResult readAllTelegrams(LineSession& session, std::uint8_t address,
                                const ExchangeRunner::Options& options) {
    TelegramSequence sequence(address);
    return runSequence(session, sequence, options);
}

}  // namespace mb::cli
