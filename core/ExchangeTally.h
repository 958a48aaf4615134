// The tally of a continuous reading, fed with every finished exchange: Start
// resets it, Stop freezes it once the request still in flight has ended (it
// was counted when sent, so its outcome is counted too). A late answer turns
// its request's no-reply into a pass, so each request is counted once, by how
// it finally ended.
#pragma once

#include <optional>
#include <string>

#include "core/ExchangeResult.h"
#include "core/ReplyStatistics.h"

namespace mb {

class ExchangeTally {
  public:
    void start();
    void stop() { counting_ = false; }
    // A request went out: counted now, so one still open at Stop is counted too.
    void requestSent();
    void add(const ExchangeResult& result);
    // The statistics line, once a continuous reading has started.
    std::optional<std::string> line() const;
    const ReplyStatistics& statistics() const { return statistics_; }

  private:
    ReplyStatistics statistics_;
    bool counting_ = false;
    bool awaitingOutcome_ = false;  // a counted request whose result has not come
    bool shown_ = false;
    std::optional<Verdict> lastUnanswered_;
};

}  // namespace mb
