// One question to the bus and what kind of answer came: none, one clean
// answer, or a collision (several answers, or bytes that make none).
#pragma once

#include "cli/LineSession.h"

namespace mb::cli {

enum class Answer { Silent, Single, Collision };

Answer classify(const ExchangeResult& result);

// A meter answers between 11 bit times and 330 bit times + 50 ms after the
// end of the request. Most answer at once, so a scan first asks every address
// with the short wait (11 bit times + 50 ms + margin) and asks again with the
// full wait (330 + 11 bit times + 50 ms + margin) only where bytes came: a
// slow answer lands in the next address's wait and is not lost.
ExchangeRunner::Options quickScanTiming(const LineSession& session, int overrideMs = 0);
ExchangeRunner::Options fullScanTiming(const LineSession& session, int overrideMs = 0);

}  // namespace mb::cli
