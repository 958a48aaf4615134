#include "cli/StopSignals.h"

#include <signal.h>

namespace mb::cli {
namespace {

// Set from a signal handler: only lock-free atomics may be.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> stopRequested{false};
std::atomic<bool> secondEndsAtOnce{false};

extern "C" void onStopSignal(int signal) {
    stopRequested = true;
    if (signal == SIGINT && secondEndsAtOnce) {
        struct sigaction again {};
        again.sa_handler = SIG_DFL;
        sigaction(SIGINT, &again, nullptr);
    }
}

}  // namespace

const std::atomic<bool>& catchStopSignals(SecondCtrlC second) {
    secondEndsAtOnce = second == SecondCtrlC::EndsAtOnce;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return stopRequested;
}

}  // namespace mb::cli
