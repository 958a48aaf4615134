#include "cli/BusProbe.h"

#include <cmath>

namespace mb::cli {

Answer classify(const Reply& reply) {
    if (reply.silent()) return Answer::Silent;
    return reply.clean() ? Answer::Single : Answer::Collision;
}

Timing scanTiming(const LineSession& session, int overrideMs) {
    constexpr int kMarginMs = 30;
    const int firstByte =
        overrideMs > 0 ? overrideMs : static_cast<int>(std::ceil(11.0 * session.bitMicros() / 1000.0)) + 50 + kMarginMs;
    // A collision of long answers may run on; wait for the longest frame once bytes came.
    return {firstByte, firstByte + session.bytesMs(kLongestFrameBytes)};
}

}  // namespace mb::cli
