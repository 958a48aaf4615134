// One line of a test plan, run by its own worker: open the line, then each
// meter's steps one after another (a bus carries one exchange at a time).
#pragma once

#include <atomic>

#include "plan/Plan.h"
#include "plan/PlanResult.h"

namespace mb::cli {

// Runs in the calling thread; the line's port and exchange engine live there.
// `stop` ends the run after the exchange in flight (the steps not run are
// skipped as interrupted); `stepsDone` counts finished steps for progress.
plan::LineResult runPlanLine(const plan::Plan& plan, const plan::Line& line, const std::atomic<bool>& stop,
                             std::atomic<int>& stepsDone);

}  // namespace mb::cli
