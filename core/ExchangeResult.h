// How one exchange ended: the one verdict the window and the command line both
// show, each in its own way.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ExchangeRequest.h"
#include "core/Reading.h"

namespace mb {

enum class Verdict {
    Pass,          // the awaited answer came and passed its checks
    Acknowledged,  // the awaited single-character acknowledgement came
    MeterError,    // the meter answered that it could not do it
    NoReply,       // nothing came within the timeout
    Invalid,       // bytes came, but no valid answer among them (`reason`)
    Collision,     // more than one meter answered
    NotSent,       // the request never reached the line (`reason`)
};

// "pass", "ack", "meter-error", "no-reply", "fail", "collision", "error": the
// names the record and JSON use.
std::string_view verdictName(Verdict verdict);

struct ExchangeResult {
    ExchangeRequest request;
    Verdict verdict = Verdict::NoReply;
    std::string reason;                // Invalid, NotSent: why
    std::vector<std::uint8_t> frame;   // the answer as received, start to stop byte
    Reading reading;                   // the answer decoded (Pass, MeterError)
    std::optional<std::string> otherAddress;  // a meter other than the one asked answered
    // From the moment the request's last byte left to the answer's last byte.
    std::optional<std::chrono::microseconds> replyTime;
    // From the same moment to the first byte after it that is not the echo:
    // the meter's reaction, as a test plan's max_reply_ms limits it.
    std::optional<std::chrono::microseconds> firstByteTime;
    std::chrono::milliseconds timeout{0};
    std::size_t bytesSeen = 0;   // every byte after the request, echo included
    std::size_t noiseBytes = 0;  // bytes that belong to no frame of the answer
    std::size_t answers = 0;     // whole frames that answer the request (several: a collision)
    bool echoSkipped = false;    // the line returned our request first
    int attempt = 1;             // the attempt whose request this answer belongs to
    int attempts = 1;            // requests sent in all
    bool late = false;           // answered after its timeout had run out
    bool superseded = false;     // ended early: the next request went out first

    bool answered() const {
        return verdict == Verdict::Pass || verdict == Verdict::Acknowledged ||
               verdict == Verdict::MeterError;
    }
};

}  // namespace mb
