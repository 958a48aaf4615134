// Ctrl-C (SIGINT) and SIGTERM as a request to stop: the handler only sets a
// flag; the command sees it, finishes what it is doing (the exchange in
// flight, its reports) and ends.
#pragma once

#include <atomic>

namespace mb::cli {

enum class SecondCtrlC {
    AlsoAsks,    // one more request to stop, as the first
    EndsAtOnce,  // the default action: the program ends where it is
};

// Installs the handlers; returns the flag they set.
const std::atomic<bool>& catchStopSignals(SecondCtrlC second);

}  // namespace mb::cli
