#include "core/ExchangeText.h"

#include <algorithm>
#include <cstdio>

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
            return {kMeterErrorText, replyTime(result)};
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

// The M-Bus primary address as the DEVICE ID field takes it (hex) and in decimal.
std::string mbusAddressText(std::int64_t address) {
    char text[32];
    std::snprintf(text, sizeof text, "Address %02llXH (%lld)", static_cast<unsigned long long>(address),
                  static_cast<long long>(address));
    return text;
}

// The header fields a technician looks for first; the rest follow in frame order.
int headerRank(const std::string& key) {
    static const char* const first[] = {"id", "manufacturer", "medium", "address", "status"};
    for (int i = 0; i < 5; ++i)
        if (key == first[i]) return i;
    return 5;
}

// The header's "Label  value" lines joined a few to a line, the fields a
// technician looks for first.
std::vector<std::string> compactHeader(const Reading& reading, std::vector<std::string> fieldLines) {
    std::vector<std::size_t> order(fieldLines.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return headerRank(reading.header[a].key) < headerRank(reading.header[b].key);
    });
    constexpr std::size_t kLineWidth = 72;  // about the width of the designed pane
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i : order) {
        const HeaderField& field = reading.header[i];
        std::string text = std::move(fieldLines[i]);
        if (field.key == "address" && reading.protocol == "mbus")
            if (const auto* number = std::get_if<std::int64_t>(&field.value)) text = mbusAddressText(*number);
        if (!line.empty() && line.size() + 4 + text.size() > kLineWidth) lines.push_back(std::move(line)), line.clear();
        line += (line.empty() ? "" : "    ") + text;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// The reading's lines: any problem first, then the records, then the header.
std::vector<std::string> readingFirstLines(const Reading& reading) {
    std::vector<std::string> lines = readingLines(reading);
    // readingLines gives an optional problem line, the header's lines, then the records'.
    const std::size_t fields = reading.header.size() + reading.records.size();
    if (!reading.error.empty() || lines.size() < fields || lines.size() > fields + 1) return lines;
    const std::size_t problem = lines.size() - fields;
    std::vector<std::string> header(lines.begin() + problem, lines.begin() + problem + reading.header.size());
    std::vector<std::string> out(lines.begin(), lines.begin() + problem);
    out.insert(out.end(), lines.begin() + problem + reading.header.size(), lines.end());
    for (std::string& line : compactHeader(reading, std::move(header))) out.push_back(std::move(line));
    return out;
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
        for (std::string& line : readingFirstLines(result.reading)) lines.push_back(std::move(line));
    return lines;
}

std::size_t verdictLineCount(const ExchangeResult& result) {
    std::size_t count = 0;
    for (const std::string& line : verdictLines(result)) count += !line.empty();
    return count;
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
