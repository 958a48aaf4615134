#include "cli/BusProbe.h"

#include <cmath>

namespace mb::cli {

Answer classify(const Reply& reply) {
    if (reply.silent()) return Answer::Silent;
    return reply.clean() ? Answer::Single : Answer::Collision;
}

namespace {

constexpr int kMarginMs = 30;  // adapter and host latency

Timing afterFirstByte(const LineSession& session, int firstByteMs) {
    // A collision of long answers may run on; wait for the longest frame once bytes came.
    return {firstByteMs, firstByteMs + session.bytesMs(kLongestFrameBytes)};
}

int bitsMs(const LineSession& session, double bits) {
    return static_cast<int>(std::ceil(bits * session.bitMicros() / 1000.0));
}

}  // namespace

Timing quickScanTiming(const LineSession& session, int overrideMs) {
    return afterFirstByte(session, overrideMs > 0 ? overrideMs : bitsMs(session, 11) + 50 + kMarginMs);
}

Timing fullScanTiming(const LineSession& session, int overrideMs) {
    return afterFirstByte(session, overrideMs > 0 ? overrideMs : bitsMs(session, 330 + 11) + 50 + kMarginMs);
}

}  // namespace mb::cli
