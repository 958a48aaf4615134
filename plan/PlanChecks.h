// The plan's own judgement on top of the exchange engine's verdict: a read
// passes when the engine passed the answer, the meter is the one expected,
// every range holds and the meter reacted within max_reply_ms. The engine's
// verdicts are taken as they are; this adds only what the plan asks.
#pragma once

#include <optional>
#include <string>

#include "core/ExchangeResult.h"
#include "plan/Plan.h"

namespace mb::plan {

struct CheckFailure {
    std::string kind;    // as StepResult::kind
    std::string reason;  // one sentence
    bool lineError = false;  // the line, not the meter: reported as an error
};

// Why the engine did not pass `result` (nullopt when it answered as awaited).
std::optional<CheckFailure> verdictFailure(const ExchangeResult& result);

// A read: the verdict, then who answered, the ranges and the reaction time.
std::optional<CheckFailure> judgeRead(const Meter& meter, const ExchangeResult& result);

// The identification and ranges alone.
std::optional<CheckFailure> checkReading(const Meter& meter, const Reading& reading);

// The reaction (request end to first byte) against max_reply_ms.
std::optional<CheckFailure> checkReplyTime(const Meter& meter, const ExchangeResult& result);

// The reaction in milliseconds, when bytes came.
std::optional<double> replyMs(const ExchangeResult& result);

// The value of the reading's record `quantity` (current value: storage 0,
// instantaneous) as text, "" when there is none ("open" for Valve).
std::string recordText(const Reading& reading, const std::string& quantity);

}  // namespace mb::plan
