#include "core/ReplyWatch.h"

#include "core/ReplyVerdict.h"

namespace mb {

void ReplyWatch::settle() {
    if (!watching_ || passed_ || !counting_) return;
    if (bytesSinceRequest_ > 0)
        statistics_.addInvalidReply();
    else
        statistics_.addNoReply();
}

void ReplyWatch::start(Clock::time_point sentAt, std::chrono::milliseconds timeout) {
    settle();
    watching_ = true;
    passed_ = false;
    sentAt_ = sentAt;
    timeout_ = timeout;
    bytesSinceRequest_ = 0;
    if (counting_) statistics_.addRequest();
}

void ReplyWatch::cancel() {
    settle();
    watching_ = false;
}

std::string ReplyWatch::passed(Clock::time_point completedAt) {
    if (!watching_ || passed_) return {};
    passed_ = true;
    const auto replyTime =
        std::chrono::duration_cast<std::chrono::microseconds>(completedAt - sentAt_);
    if (counting_) statistics_.addPass(replyTime);
    return replyTimeLine(replyTime);
}

std::string ReplyWatch::timeoutLine(std::string_view whyInvalid) const {
    if (!watching_ || passed_) return {};
    if (bytesSinceRequest_ == 0) return noReplyLine(timeout_);
    return invalidReplyLine(timeout_, bytesSinceRequest_, whyInvalid);
}

void ReplyWatch::startStatistics() {
    settle();
    statistics_.reset();
    counting_ = true;
    statisticsShown_ = true;
    // A request already out belongs to the reading that just started only if
    // it is the Start's own; Start sends nothing, so nothing is carried over.
    watching_ = false;
}

std::optional<std::string> ReplyWatch::statisticsLine() const {
    if (!statisticsShown_) return std::nullopt;
    return statistics_.line();
}

}  // namespace mb
