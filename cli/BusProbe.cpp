#include "cli/BusProbe.h"

#include <cmath>

#include "mbus/MbusProtocol.h"

namespace mb::cli {

Answer classify(const ExchangeResult& result) {
    if (result.verdict == Verdict::NoReply) return Answer::Silent;
    return result.answered() ? Answer::Single : Answer::Collision;
}

namespace {

constexpr int kMarginMs = 30;  // adapter and host latency

ExchangeRunner::Options afterFirstByte(const LineSession& session, int firstByteMs) {
    // A collision of long answers may run on; wait for the longest frame once bytes came.
    const int longest = session.bytesMs(mbusProtocol().longestAnswerBytes());
    ExchangeRunner::Options options;
    options.firstByteWithin = std::chrono::milliseconds(firstByteMs);
    options.timeout = std::chrono::milliseconds(firstByteMs + longest);
    return options;
}

int bitsMs(const LineSession& session, double bits) {
    return static_cast<int>(std::ceil(bits * session.bitMicros() / 1000.0));
}

}  // namespace

ExchangeRunner::Options quickScanTiming(const LineSession& session, int overrideMs) {
    return afterFirstByte(session, overrideMs > 0 ? overrideMs : bitsMs(session, 11) + 50 + kMarginMs);
}

ExchangeRunner::Options fullScanTiming(const LineSession& session, int overrideMs) {
    return afterFirstByte(session, overrideMs > 0 ? overrideMs : bitsMs(session, 330 + 11) + 50 + kMarginMs);
}

}  // namespace mb::cli
