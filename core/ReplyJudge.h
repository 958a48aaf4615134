// Judges the bytes that come back after a request, as they arrive, without a
// clock. The rules, in order:
//   - the echo of our own request, byte for byte at the start of what comes
//     back, is skipped (a two-wire line hears itself);
//   - the protocol's wake-up bytes are skipped; every other byte that starts
//     no whole frame is noise;
//   - a candidate that fails (header, checksum, stop byte) resumes the hunt at
//     the byte after its start byte, so a false start in noise never swallows
//     the real answer behind it;
//   - a frame is whole only with its stop byte; nothing is added to it;
//   - the first whole frame that answers the request is the answer; frames
//     that answer nothing (requests) count as noise;
//   - when several meters may answer, a second answer or any noise around
//     the answer is a collision.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/ExchangeRequest.h"
#include "core/Protocol.h"

namespace mb {

class ReplyJudge {
  public:
    explicit ReplyJudge(const ExchangeRequest& request);

    // Bytes of an earlier answer still on its way when this request went out:
    // judged first, and no echo is looked for before them.
    void carryOver(std::span<const std::uint8_t> bytes);
    void take(std::span<const std::uint8_t> bytes);

    // The awaited answer has come (frame(), kind()).
    bool answered() const { return answer_.has_value(); }
    bool collided() const;
    // Whole frames that answer the request: the answer and any more after it.
    std::size_t answersSeen() const { return (answered() ? 1 : 0) + extraAnswers_; }
    const std::vector<std::uint8_t>& frame() const { return frame_; }
    AnswerKind kind() const { return answer_.value_or(AnswerKind::NotAnAnswer); }

    std::size_t bytesSeen() const { return bytesSeen_; }
    // Bytes other than the echo: zero means the line stayed silent.
    std::size_t bytesBeyondEcho() const { return bytesSeen_ - echoLength(); }
    std::size_t noiseBytes() const { return noise_; }
    bool echoSkipped() const { return echoDone_ && echoMatched_ == request_.size(); }
    // Why no answer was found among the bytes so far ("checksum wrong").
    std::string_view whyNoAnswer() const;
    // The bytes from the candidate still waiting for more on: what a request
    // sent now would find of this one's answer.
    std::vector<std::uint8_t> unjudgedBytes() const;

  private:
    std::size_t echoLength() const { return echoSkipped() ? echoMatched_ : 0; }
    void followEcho(std::span<const std::uint8_t>& bytes);
    void hunt();
    void acceptFrame(std::size_t length);
    bool acceptFrameBeyondCandidate();
    void noteFailure(std::string_view why, int rank);
    void dropJudgedBytes();

    const Protocol& protocol_;
    std::vector<std::uint8_t> request_;
    Awaits awaits_;
    bool severalMayAnswer_;
    std::vector<std::uint8_t> buffer_;  // bytes after the echo not yet judged away
    std::size_t at_ = 0;                // the hunt's position in buffer_
    std::size_t echoMatched_ = 0;
    bool echoDone_ = false;
    std::size_t bytesSeen_ = 0;
    std::size_t noise_ = 0;
    std::size_t extraAnswers_ = 0;
    std::optional<AnswerKind> answer_;
    std::vector<std::uint8_t> frame_;
    std::string_view failure_;
    int failureRank_ = 0;
    bool sawRequestFrame_ = false;
};

}  // namespace mb
