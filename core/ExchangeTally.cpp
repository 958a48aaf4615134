#include "core/ExchangeTally.h"

namespace mb {

void ExchangeTally::start() {
    statistics_.reset();
    counting_ = true;
    awaitingOutcome_ = false;
    shown_ = true;
    lastUnanswered_.reset();
}

void ExchangeTally::requestSent() {
    if (!counting_) return;
    statistics_.addRequest();
    awaitingOutcome_ = true;
}

void ExchangeTally::add(const ExchangeResult& result) {
    if (result.verdict == Verdict::NotSent) return;
    const bool outcomeOfCounted = awaitingOutcome_ && !result.late;
    if (!counting_ && !outcomeOfCounted) return;
    if (!result.late) awaitingOutcome_ = false;
    if (result.late) {
        if (!lastUnanswered_) return;  // its request was counted before the Start
        statistics_.withdraw(*lastUnanswered_ == Verdict::NoReply);
        lastUnanswered_.reset();
    }
    if (result.answered() && result.replyTime) {
        statistics_.addPass(*result.replyTime);
        lastUnanswered_.reset();
        return;
    }
    if (result.verdict == Verdict::NoReply)
        statistics_.addNoReply();
    else
        statistics_.addInvalidReply();
    lastUnanswered_ = result.verdict;
}

std::optional<std::string> ExchangeTally::line() const {
    if (!shown_) return std::nullopt;
    return statistics_.line();
}

}  // namespace mb
