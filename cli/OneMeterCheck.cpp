#include "cli/OneMeterCheck.h"

namespace mb::cli {
namespace {

// Whole answers and nothing else on the line: each is one meter. Bytes that
// make no frame (answers on top of each other) leave only "more than one".
std::string severalText(const ExchangeResult& result) {
    if (result.noiseBytes == 0 && result.answers >= 2)
        return std::to_string(result.answers) + " meters answered";
    return "more than one meter answered (" + std::to_string(result.answers) + " whole " +
           (result.answers == 1 ? "answer" : "answers") + " among " +
           std::to_string(result.bytesSeen) + " bytes)";
}

}  // namespace

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
            why = severalText(result);
            return false;
        default:
            why = "no clean answer (" + result.reason + ")";
            return false;
    }
}

}  // namespace mb::cli
