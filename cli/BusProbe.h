// One question to the bus and what kind of answer came: none, one clean
// frame, or a collision (several frames, or bytes that make no frame).
#pragma once

#include "cli/LineSession.h"

namespace mb::cli {

enum class Answer { Silent, Single, Collision };

Answer classify(const Reply& reply);

// A meter answers between 11 bit times and 330 bit times + 50 ms after the
// end of the request. Most answer at once, so a scan first asks every address
// with the short wait (11 bit times + 50 ms + margin) and asks again with the
// full wait (330 + 11 bit times + 50 ms + margin) only where bytes came: a
// slow answer lands in the next address's wait and is not lost.
Timing quickScanTiming(const LineSession& session, int overrideMs = 0);
Timing fullScanTiming(const LineSession& session, int overrideMs = 0);

}  // namespace mb::cli
