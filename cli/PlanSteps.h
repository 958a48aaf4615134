// The steps of a test plan on one meter: read (repeated), set-time,
// valve-cycle and set-address:N, each built from the protocols' own requests
// and run on the line's exchange engine. The engine gives each exchange its
// verdict; the plan's checks (plan/PlanChecks.h) add what the plan expects.
#pragma once

#include <atomic>
#include <optional>

#include "cli/LineSession.h"
#include "core/ExchangeSequence.h"
#include "mbus/MbusRequests.h"
#include "plan/Plan.h"
#include "plan/PlanChecks.h"
#include "plan/PlanResult.h"

namespace mb::cli {

class PlanSteps {
  public:
    // `stop` is checked before every request: when set, the step ends after
    // the exchange in flight and is reported as interrupted.
    PlanSteps(LineSession& session, const plan::Plan& plan, plan::Meter meter, const std::atomic<bool>& stop);

    // Runs `step` and fills `out` (outcome, kind, reason, reply times, reading).
    void run(const plan::Step& step, plan::StepResult& out);
    // The address the meter has now (set-address changes it).
    std::string address() const;

  private:
    using Outcome = std::optional<plan::CheckFailure>;  // nullopt: passed

    // One exchange, counted into the step's result; nullopt when interrupted
    // first. A meter reached by its identification number gets the request at
    // 253 between its selection and deselection (mbus/SecondarySequence).
    std::optional<ExchangeResult> exchange(const ExchangeRequest& request);
    ExchangeResult run(ExchangeSequence& sequence);
    ExchangeRequest readRequest() const;
    std::uint8_t mbusTarget() const;  // the primary address, or 253 when selected

    Outcome read();
    Outcome reads();
    Outcome write(const ExchangeRequest& request);
    Outcome setTime();
    Outcome valveCycle();
    Outcome valveTo(bool open);
    Outcome setAddress(const std::string& next);

    LineSession& session_;
    const plan::Plan& plan_;
    plan::Meter meter_;
    const std::atomic<bool>& stop_;
    ExchangeRunner::Options options_;
    std::optional<SecondaryMask> secondary_;
    bool interrupted_ = false;
    plan::StepResult* out_ = nullptr;
};

}  // namespace mb::cli
