#include "core/ExchangeText.h"

#include "core/HexText.h"
#include "core/ReadingText.h"
#include "core/ReplyVerdict.h"

namespace mb {
namespace {

std::string replyTime(const ExchangeResult& result) {
    return result.replyTime ? replyTimeLine(*result.replyTime) : std::string();
}

std::string lateLine(const ExchangeResult& result) {
    if (!result.late) return {};
    return "Late: after its " + timeoutText(result.timeout) + " timeout";
}

std::string plural(std::size_t n, const char* one) {
    return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

// The verdict's own lines, before what the answer says.
std::vector<std::string> verdictLines(const ExchangeResult& result) {
    switch (result.verdict) {
        case Verdict::Pass:
            if (result.request.awaits == Awaits::Address)
                return {"Address found", replyTime(result), lateLine(result)};
            return {kCheckPassText, replyTime(result), lateLine(result)};
        case Verdict::Acknowledged: {
            std::string line = "Acknowledged";
            if (result.frame.size() == 1) {
                std::string hex = hexEcho(result.frame);  // "E5 "
                hex.pop_back();
                line += " (" + hex + ")";
            }
            return {line, replyTime(result), lateLine(result)};
        }
        case Verdict::MeterError:
            return {"The meter answered with an error", replyTime(result)};
        case Verdict::NoReply: return {noReplyLine(result.timeout)};
        case Verdict::Invalid:
            return {invalidReplyLine(result.timeout, result.bytesSeen, result.reason)};
        case Verdict::Collision:
            return {"Collision: more than one meter answered (" + plural(result.bytesSeen, "byte") +
                    " received)"};
        case Verdict::NotSent: return {"Not sent: " + result.reason};
    }
    return {};
}

}  // namespace

std::vector<std::string> resultLines(const ExchangeResult& result) {
    std::vector<std::string> lines;
    for (std::string& line : verdictLines(result))
        if (!line.empty()) lines.push_back(std::move(line));
    if (!result.answered()) return lines;
    if (result.otherAddress) lines.push_back(*result.otherAddress);
    if (result.noiseBytes > 0)
        lines.push_back(plural(result.noiseBytes, "byte") + " of noise on the line ignored");
    if (result.verdict != Verdict::Acknowledged || result.frame.size() > 1)
        for (std::string& line : readingLines(result.reading)) lines.push_back(std::move(line));
    return lines;
}

std::string resultSummary(const ExchangeResult& result) {
    std::string summary(verdictName(result.verdict));
    const std::vector<std::string> lines = verdictLines(result);
    for (const std::string& line : lines) {
        if (line.empty() || line == kCheckPassText) continue;
        summary += ", " + line;
    }
    if (result.attempt != 1) summary += ", answered attempt " + std::to_string(result.attempt);
    return summary;
}

std::string_view verdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass: return "pass";
        case Verdict::Acknowledged: return "ack";
        case Verdict::MeterError: return "meter-error";
        case Verdict::NoReply: return "no-reply";
        case Verdict::Invalid: return "fail";
        case Verdict::Collision: return "collision";
        case Verdict::NotSent: return "error";
    }
    return "error";
}

}  // namespace mb
