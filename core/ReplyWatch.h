// How the line answered the last request that armed a reply parser: how fast,
// or that nothing valid came within the reply timeout. It keeps the tally of a
// continuous reading. Times are given by the caller, so the rules can be run
// without a clock:
//   a request's verdict is final when its reply passes, or when the next
//   request goes out without one (no reply, or invalid when bytes came);
//   the timeout only tells the technician early; a later pass still counts.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "core/ReplyStatistics.h"

namespace mb {

class ReplyWatch {
  public:
    using Clock = std::chrono::steady_clock;

    // A request left the window at `sentAt`; its reply is due within `timeout`.
    void start(Clock::time_point sentAt, std::chrono::milliseconds timeout);
    // No request is watched any more (a request whose reply is not judged went out).
    void cancel();
    void bytesArrived(std::size_t count) { bytesSinceRequest_ += count; }

    // The reply to the watched request passed at `completedAt`: "Reply in 42 ms".
    // Empty when no request is watched.
    std::string passed(Clock::time_point completedAt);
    // The line for a request whose timeout ran out without a pass: "No reply
    // within 2.2 s", or why the bytes that came were not a valid reply.
    // Empty when it passed or nothing is watched.
    std::string timeoutLine(std::string_view whyInvalid) const;
    bool watching() const { return watching_; }
    std::chrono::milliseconds timeout() const { return timeout_; }

    // The tally of a continuous reading: Start resets it, Stop freezes it.
    void startStatistics();
    void stopStatistics() { counting_ = false; }
    // The statistics line, once a continuous reading has started.
    std::optional<std::string> statisticsLine() const;

  private:
    // Gives the watched request its verdict if it has none yet.
    void settle();

    bool watching_ = false;
    bool passed_ = false;
    bool counting_ = false;
    bool statisticsShown_ = false;
    Clock::time_point sentAt_{};
    std::chrono::milliseconds timeout_{0};
    std::size_t bytesSinceRequest_ = 0;
    ReplyStatistics statistics_;
};

}  // namespace mb
