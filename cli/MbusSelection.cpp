#include "cli/MbusSelection.h"

#include "mbus/SecondarySequence.h"

namespace mb::cli {

std::optional<SecondaryMask> secondaryMaskOption(const std::string& text) {
    return secondaryMaskOf(text);
}

bool selectOne(LineSession& session, const SecondaryMask& mask,
               const ExchangeRunner::Options& options, std::string& why) {
    const ExchangeResult result =
        session.exchange(mbusAcknowledgedExchange(mbusSelect(mask), "select"), options);
    const std::optional<std::string> problem = selectionProblem(result);
    if (!problem) return true;
    why = *problem;
    if (result.verdict != Verdict::NoReply) deselect(session, options);
    return false;
}

void deselect(LineSession& session, const ExchangeRunner::Options& options) {
    ExchangeRunner::Options once = options;
    once.retries = 0;
    session.exchange(mbusAcknowledgedExchange(mbusSndNke(kMbusAddressSelected), "deselect"), once);
}

}  // namespace mb::cli
