#include "core/ReplyStatistics.h"

#include <algorithm>

#include "core/ReplyVerdict.h"

namespace mb {

void ReplyStatistics::addPass(Duration replyTime) {
    ++passes_;
    minimum_ = std::min(minimum_, replyTime);
    maximum_ = std::max(maximum_, replyTime);
    if (lower_.empty() || replyTime <= lower_.top()) {
        lower_.push(replyTime);
    } else {
        upper_.push(replyTime);
    }
    // Rebalance so that lower_ has as many as upper_ or one more.
    if (lower_.size() > upper_.size() + 1) {
        upper_.push(lower_.top());
        lower_.pop();
    } else if (upper_.size() > lower_.size()) {
        lower_.push(upper_.top());
        upper_.pop();
    }
}

std::optional<ReplyStatistics::Duration> ReplyStatistics::minimum() const {
    if (passes_ == 0) return std::nullopt;
    return minimum_;
}

std::optional<ReplyStatistics::Duration> ReplyStatistics::maximum() const {
    if (passes_ == 0) return std::nullopt;
    return maximum_;
}

std::optional<ReplyStatistics::Duration> ReplyStatistics::median() const {
    if (lower_.empty()) return std::nullopt;
    if (lower_.size() > upper_.size()) return lower_.top();
    const auto low = lower_.top().count();
    const auto high = upper_.top().count();
    // low + (high - low) / 2: no overflow, and floor since high >= low.
    return Duration(low + (high - low) / 2);
}

std::string ReplyStatistics::line() const {
    const auto timeText = [](std::optional<Duration> time) { return time ? millisecondsText(*time) : "-"; };
    return "Requests " + std::to_string(requests_) + "  Pass " + std::to_string(passes_) + "  No reply " +
           std::to_string(noReplies_) + "  Invalid " + std::to_string(invalidReplies_) + "  Reply min " +
           timeText(minimum()) + "  median " + timeText(median()) + "  max " + timeText(maximum());
}

}  // namespace mb
