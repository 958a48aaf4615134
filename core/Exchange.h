// One request's exchange on a line, from the moment its bytes were written to
// its result, with the times given by the caller so the rules run without a
// clock. Its rules:
//   - the reply time counts from when the request's last byte has left the
//     line to when the answer's last byte came;
//   - it ends at once when one addressed meter's answer has come; when
//     several meters may answer, only after a quiet gap proves no other does;
//   - nothing by `firstByteWithin`, or no answer by `answerWithin`: it ends
//     with no reply (nothing beyond the echo came) or invalid (and why);
//   - after that it may go on listening: an answer that comes late still
//     makes a late pass (the window's rule: a late answer still counts).
#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <vector>

#include "core/ExchangeResult.h"
#include "core/ReplyJudge.h"

namespace mb {

class Exchange {
  public:
    using Clock = std::chrono::steady_clock;

    struct Timing {
        std::chrono::milliseconds firstByteWithin{1000};
        std::chrono::milliseconds answerWithin{1000};  // not shorter than firstByteWithin
        std::chrono::microseconds requestOnLine{0};    // the request's own time on the line
        std::chrono::milliseconds quietGap{20};
    };

    Exchange(ExchangeRequest request, Timing timing, Clock::time_point writtenAt);
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    // Bytes of the previous request's answer still on their way (see ReplyJudge).
    void carryOver(std::span<const std::uint8_t> bytes) { judge_.carryOver(bytes); }
    // Bytes that came at `at`. True when this made the exchange end (or, after
    // it ended without an answer, made a late answer).
    bool receive(std::span<const std::uint8_t> bytes, Clock::time_point at);
    // True when `now` is at or past the deadline and the exchange ended now.
    bool elapse(Clock::time_point now);
    // Ends it now with what has come: the next request went out.
    void supersede();
    // Ends it now with what has come: the line is gone, nothing more can come.
    void endNow();

    Clock::time_point deadline() const;
    bool finished() const { return finished_; }
    const ExchangeResult& result() const { return result_; }
    Clock::time_point requestLeftAt() const { return leftAt_; }
    std::vector<std::uint8_t> unjudgedBytes() const { return judge_.unjudgedBytes(); }

  private:
    void finish();
    void fillAnswer();

    ExchangeResult result_;
    Timing timing_;
    ReplyJudge judge_;
    Clock::time_point leftAt_;
    Clock::time_point lastByteAt_{};
    Clock::time_point answeredAt_{};
    std::optional<Clock::time_point> firstByteAt_;
    bool finished_ = false;
};

}  // namespace mb
