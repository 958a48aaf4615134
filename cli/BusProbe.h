// One question to the bus and what kind of answer came: none, one clean
// frame, or a collision (several frames, or bytes that make no frame).
#pragma once

#include "cli/LineSession.h"

namespace mb::cli {

enum class Answer { Silent, Single, Collision };

Answer classify(const Reply& reply);

// The wait for a meter's first byte during a scan: our request's own time on
// the line, plus the longest delay the standard allows before a meter's
// answer (11 bit times + 50 ms), plus a margin for the adapter and the host.
Timing scanTiming(const LineSession& session, int overrideMs = 0);

}  // namespace mb::cli
