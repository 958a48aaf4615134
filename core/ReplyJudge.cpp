#include "core/ReplyJudge.h"

#include <algorithm>

namespace mb {
namespace {

// Which answers a request awaits: a read its answer, a write its
// acknowledgement; either may hear that the meter could not do it.
bool awaited(AnswerKind kind, Awaits awaits) {
    switch (kind) {
        case AnswerKind::Answer: return awaits != Awaits::Acknowledge;
        case AnswerKind::MeterError: return true;
        case AnswerKind::Acknowledge: return awaits == Awaits::Acknowledge;
        case AnswerKind::NotAnAnswer: return false;
    }
    return false;
}

// Failures found once a whole candidate was there outrank those at its header.
constexpr int kRankHeader = 1;
constexpr int kRankWhole = 2;

// Judged bytes are dropped once this many pile up in front of the hunt, so a
// flood costs bounded memory.
constexpr std::size_t kDropJudgedAfter = 4096;

}  // namespace

ReplyJudge::ReplyJudge(const ExchangeRequest& request)
    : protocol_(*request.protocol),
      request_(request.bytes),
      awaits_(request.awaits),
      severalMayAnswer_(request.severalMayAnswer) {}

void ReplyJudge::carryOver(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return;
    echoDone_ = true;
    take(bytes);
}

void ReplyJudge::take(std::span<const std::uint8_t> bytes) {
    bytesSeen_ += bytes.size();
    followEcho(bytes);
    if (!echoDone_) return;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    hunt();
    dropJudgedBytes();
}

// Consumes the part of `bytes` that continues the echo of our request. Once a
// byte differs, the echo was no echo: those bytes are judged like any other.
void ReplyJudge::followEcho(std::span<const std::uint8_t>& bytes) {
    if (echoDone_) return;
    std::size_t n = 0;
    while (n < bytes.size() && echoMatched_ < request_.size() &&
           bytes[n] == request_[echoMatched_]) {
        ++n;
        ++echoMatched_;
    }
    if (echoMatched_ == request_.size()) {
        echoDone_ = true;
        bytes = bytes.subspan(n);
        return;
    }
    if (n == bytes.size()) return;  // the echo may still be coming
    echoDone_ = true;
    buffer_.assign(request_.begin(), request_.begin() + static_cast<std::ptrdiff_t>(echoMatched_));
    echoMatched_ = 0;
    bytes = bytes.subspan(n);
}

void ReplyJudge::hunt() {
    while (at_ < buffer_.size()) {
        const std::uint8_t byte = buffer_[at_];
        if (!protocol_.mayStartFrame(byte)) {
            if (!protocol_.isPreamble(byte)) ++noise_;
            ++at_;
            continue;
        }
        const FrameCheck check =
            protocol_.checkFrame(std::span(buffer_).subspan(at_));
        if (check.status == FrameCheck::Status::NeedMore) {
            // A false start in noise may claim bytes up to its length; an answer
            // inside them is not kept waiting for it.
            if (!acceptFrameBeyondCandidate()) return;
            continue;
        }
        if (check.status == FrameCheck::Status::NotAFrame) {
            noteFailure(check.whyNot, check.whyNot == "no valid frame header" ? kRankHeader
                                                                             : kRankWhole);
            ++noise_;
            ++at_;  // the hunt resumes at the byte after this start byte
            continue;
        }
        acceptFrame(check.length);
        at_ += check.length;
    }
}

bool ReplyJudge::acceptFrameBeyondCandidate() {
    for (std::size_t p = at_ + 1; p < buffer_.size(); ++p) {
        if (!protocol_.mayStartFrame(buffer_[p])) continue;
        const FrameCheck check = protocol_.checkFrame(std::span(buffer_).subspan(p));
        if (check.status != FrameCheck::Status::Whole) continue;
        const auto frame = std::span(buffer_).subspan(p, check.length);
        if (!awaited(protocol_.classify(frame, request_), awaits_)) continue;
        for (std::size_t q = at_; q < p; ++q)
            if (!protocol_.isPreamble(buffer_[q])) ++noise_;
        at_ = p;
        acceptFrame(check.length);
        at_ += check.length;
        return true;
    }
    return false;
}

void ReplyJudge::acceptFrame(std::size_t length) {
    const auto frame = std::span(buffer_).subspan(at_, length);
    const AnswerKind kind = protocol_.classify(frame, request_);
    if (!awaited(kind, awaits_)) {
        if (kind == AnswerKind::NotAnAnswer) sawRequestFrame_ = true;
        noise_ += length;
        return;
    }
    if (answer_) {
        ++extraAnswers_;
        return;
    }
    answer_ = kind;
    frame_.assign(frame.begin(), frame.end());
}

void ReplyJudge::noteFailure(std::string_view why, int rank) {
    if (rank < failureRank_) return;
    failure_ = why;
    failureRank_ = rank;
}

void ReplyJudge::dropJudgedBytes() {
    if (at_ < kDropJudgedAfter) return;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(at_));
    at_ = 0;
}

bool ReplyJudge::collided() const {
    if (extraAnswers_ > 0) return true;
    return severalMayAnswer_ && answered() && noise_ > 0;
}

// A candidate that failed once whole says more than one still waiting for
// bytes (often a false start in the failed frame's own bytes).
std::string_view ReplyJudge::whyNoAnswer() const {
    if (failureRank_ == kRankWhole) return failure_;
    if (at_ < buffer_.size()) return "frame incomplete";
    if (!failure_.empty()) return failure_;
    if (sawRequestFrame_) return "no frame that answers the request";
    return "no frame start";
}

std::vector<std::uint8_t> ReplyJudge::unjudgedBytes() const {
    if (!echoDone_) return {};
    return {buffer_.begin() + static_cast<std::ptrdiff_t>(at_), buffer_.end()};
}

}  // namespace mb
