#include "cli/OneMeterCheck.h"

namespace mb::cli {

bool exactlyOneMeter(LineSession& session, const ExchangeRequest& probe,
                     const ExchangeRunner::Options& options, std::string& why) {
    ExchangeRequest asked = probe;
    asked.severalMayAnswer = true;  // anything beyond one clean answer is several meters
    const ExchangeResult result = session.exchange(asked, options);
    switch (result.verdict) {
        case Verdict::Pass:
        case Verdict::Acknowledged:
        case Verdict::MeterError:
            return true;
        case Verdict::NoReply:
            why = "no meter answered";
            return false;
        case Verdict::Collision:
            why = "more than one meter answered (" + std::to_string(result.bytesSeen) + " bytes)";
            return false;
        default:
            why = "no clean answer (" + result.reason + ")";
            return false;
    }
}

}  // namespace mb::cli
