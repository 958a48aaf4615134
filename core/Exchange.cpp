#include "core/Exchange.h"

#include <algorithm>

#include "core/Protocol.h"

namespace mb {

using std::chrono::duration_cast;
using std::chrono::microseconds;

Exchange::Exchange(ExchangeRequest request, Timing timing, Clock::time_point writtenAt)
    : timing_(timing),
      judge_(request),
      leftAt_(writtenAt + duration_cast<Clock::duration>(timing.requestOnLine)) {
    result_.request = std::move(request);
    result_.timeout = timing.answerWithin;
}

bool Exchange::receive(std::span<const std::uint8_t> bytes, Clock::time_point at) {
    if (bytes.empty()) return false;
    const bool hadAnswer = judge_.answered();
    judge_.take(bytes);
    lastByteAt_ = at;
    if (!firstByteAt_ && judge_.bytesBeyondEcho() > 0) firstByteAt_ = at;
    if (!hadAnswer && judge_.answered()) answeredAt_ = at;
    if (!finished_) {
        if (judge_.answered() && !result_.request.severalMayAnswer) finish();
        return finished_;
    }
    // Ended without an answer; one may still come late.
    if (hadAnswer || !judge_.answered() || result_.answered()) return false;
    fillAnswer();
    result_.late = true;
    return true;
}

bool Exchange::elapse(Clock::time_point now) {
    if (finished_ || now < deadline()) return false;
    finish();
    return true;
}

void Exchange::supersede() {
    if (finished_) return;
    result_.superseded = true;
    finish();
}

void Exchange::endNow() {
    if (finished_) return;
    finish();
}

Exchange::Clock::time_point Exchange::deadline() const {
    const auto endBy = leftAt_ + timing_.answerWithin;
    if (judge_.answered()) return std::min(lastByteAt_ + timing_.quietGap, endBy);
    if (judge_.bytesBeyondEcho() == 0) return leftAt_ + timing_.firstByteWithin;
    return endBy;
}

void Exchange::finish() {
    finished_ = true;
    if (firstByteAt_)
        result_.firstByteTime = std::max(microseconds{0}, duration_cast<microseconds>(*firstByteAt_ - leftAt_));
    result_.bytesSeen = judge_.bytesSeen();
    result_.noiseBytes = judge_.noiseBytes();
    result_.answers = judge_.answersSeen();
    result_.echoSkipped = judge_.echoSkipped();
    if (judge_.answered() && judge_.collided()) {
        result_.verdict = Verdict::Collision;
        result_.frame = judge_.frame();
        return;
    }
    if (judge_.answered()) {
        fillAnswer();
        return;
    }
    if (judge_.bytesBeyondEcho() == 0) {
        result_.verdict = Verdict::NoReply;
        return;
    }
    result_.verdict = Verdict::Invalid;
    result_.reason = judge_.whyNoAnswer();
}

void Exchange::fillAnswer() {
    const Protocol& protocol = *result_.request.protocol;
    result_.frame = judge_.frame();
    result_.bytesSeen = judge_.bytesSeen();
    result_.noiseBytes = judge_.noiseBytes();
    switch (judge_.kind()) {
        case AnswerKind::Acknowledge: result_.verdict = Verdict::Acknowledged; break;
        case AnswerKind::MeterError: result_.verdict = Verdict::MeterError; break;
        default: result_.verdict = Verdict::Pass;
    }
    result_.reason.clear();
    if (result_.verdict != Verdict::Acknowledged || result_.frame.size() > 1)
        result_.reading = protocol.decode(result_.frame);
    result_.otherAddress = protocol.otherAddress(result_.frame, result_.request.bytes);
    result_.replyTime = std::max(microseconds{0}, duration_cast<microseconds>(answeredAt_ - leftAt_));
    if (firstByteAt_)
        result_.firstByteTime = std::max(microseconds{0}, duration_cast<microseconds>(*firstByteAt_ - leftAt_));
}

}  // namespace mb
