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
    if (result.verdict == Verdict::Acknowledged) return true;
    if (result.verdict == Verdict::NoReply)
        why = "no meter matches the selection";
    else if (result.verdict == Verdict::Collision)
        why = "more than one meter matches the selection";
    else
        why = "no clean answer to the selection (" + result.reason + ")";
    if (result.verdict != Verdict::NoReply) deselect(session, options);
    return false;
}

void deselect(LineSession& session, const ExchangeRunner::Options& options) {
    ExchangeRunner::Options once = options;
    once.retries = 0;
    session.exchange(mbusAcknowledgedExchange(mbusSndNke(kMbusAddressSelected), "deselect"), once);
}

}  // namespace mb::cli
