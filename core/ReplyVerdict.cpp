#include "core/ReplyVerdict.h"

#include <algorithm>
#include <cmath>

namespace mb {

using std::chrono::microseconds;
using std::chrono::milliseconds;

std::string millisecondsText(microseconds duration) {
    const long long us = std::max<long long>(0, duration.count());
    const long long tenths = (us + 50) / 100;
    if (tenths < 10) return "0." + std::to_string(tenths) + " ms";
    return std::to_string((us + 500) / 1000) + " ms";
}

std::string timeoutText(milliseconds timeout) {
    const long long ms = std::max<long long>(0, timeout.count());
    if (ms < 1000) return std::to_string(ms) + " ms";
    const long long tenths = (ms + 50) / 100;
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
    return text + " s";
}

std::string replyTimeLine(microseconds replyTime) { return "Reply in " + millisecondsText(replyTime); }

std::string noReplyLine(milliseconds timeout) { return "No reply within " + timeoutText(timeout); }

std::string invalidReplyLine(milliseconds timeout, std::size_t bytesReceived, std::string_view reason) {
    std::string line = "No valid reply within " + timeoutText(timeout) + " (" + std::to_string(bytesReceived) +
                       (bytesReceived == 1 ? " byte received" : " bytes received");
    if (!reason.empty()) {
        line += ", ";
        line += reason;
    }
    return line + ")";
}

std::chrono::microseconds lineTime(int baud, int dataBits, bool parity, double stopBits,
                                   std::size_t bytes) {
    if (baud <= 0) return std::chrono::microseconds{0};
    const double bitsPerCharacter = 1.0 + dataBits + (parity ? 1.0 : 0.0) + stopBits;
    return std::chrono::microseconds(
        static_cast<long long>(static_cast<double>(bytes) * bitsPerCharacter * 1e6 / baud));
}

milliseconds defaultReplyTimeout(int baud, int dataBits, bool parity, double stopBits,
                                 std::size_t longestFrameBytes) {
    constexpr milliseconds kMeterTime{1000};
    if (baud <= 0) return kMeterTime;
    const double bitsPerCharacter = 1.0 + dataBits + (parity ? 1.0 : 0.0) + stopBits;
    const double lineMs = static_cast<double>(longestFrameBytes) * bitsPerCharacter * 1000.0 / baud;
    // The tiny epsilon keeps an exact whole millisecond from rounding up on a
    // floating-point remainder.
    return kMeterTime + milliseconds(static_cast<long long>(std::ceil(lineMs - 1e-9)));
}

}  // namespace mb
