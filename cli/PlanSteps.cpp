#include "cli/PlanSteps.h"

#include <QThread>
#include <chrono>

#include "cj188/Cj188Requests.h"
#include "mbus/SecondarySequence.h"
#include "cli/TimeOption.h"

namespace mb::cli {
namespace {

using plan::CheckFailure;
using plan::MeterProtocol;

constexpr int kValvePollMs = 500;  // between reads while a valve moves

Cj188Address plate(const std::string& digits) { return *cj188AddressFromPlate(digits); }

}  // namespace

PlanSteps::PlanSteps(LineSession& session, const plan::Plan& plan, plan::Meter meter, const std::atomic<bool>& stop)
    : session_(session), plan_(plan), meter_(std::move(meter)), stop_(stop) {
    options_.retries = plan.retries;
    if (plan.timeoutMs) options_.timeout = std::chrono::milliseconds(*plan.timeoutMs);
    if (!meter_.secondary.empty()) secondary_ = secondaryMaskOf(meter_.secondary);
}

std::string PlanSteps::address() const { return meter_.reachedBy(); }

ExchangeResult PlanSteps::run(ExchangeSequence& sequence) {
    for (std::optional<ExchangeRequest> request = sequence.first(); request;) {
        const ExchangeResult result = session_.exchange(*request, options_);
        out_->exchanges += result.attempts;
        request = sequence.next(result);
    }
    return sequence.result();
}

std::optional<ExchangeResult> PlanSteps::exchange(const ExchangeRequest& request) {
    if (stop_.load()) {
        interrupted_ = true;
        return std::nullopt;
    }
    ExchangeResult result;
    if (secondary_) {
        SecondarySequence sequence(*secondary_, request);
        result = run(sequence);
        if (!sequence.reachedOne()) result.request.what = "the selection of " + meter_.secondary;
    } else {
        OneExchange one(request);
        result = run(one);
    }
    if (const auto ms = plan::replyMs(result); ms && result.answered()) out_->replyMs.push_back(*ms);
    if (!result.reading.protocol.empty() && result.verdict == Verdict::Pass) out_->reading = result.reading;
    return result;
}

std::uint8_t PlanSteps::mbusTarget() const {
    return secondary_ ? kMbusAddressSelected : static_cast<std::uint8_t>(std::stoi(meter_.address));
}

ExchangeRequest PlanSteps::readRequest() const {
    if (meter_.protocol == MeterProtocol::Cj188)
        return cj188ReadDataExchange(cj188ReadData(meter_.meterType, plate(meter_.address)));
    return mbusReadExchange(mbusReqUd2(mbusTarget()));
}

PlanSteps::Outcome PlanSteps::read() {
    const auto result = exchange(readRequest());
    if (!result) return std::nullopt;
    return plan::judgeRead(meter_, *result);
}

// `repeat` reads; the first that does not pass ends the step with its reason.
PlanSteps::Outcome PlanSteps::reads() {
    for (int i = 1; i <= meter_.repeat && !interrupted_; ++i)
        if (auto failure = read()) {
            if (meter_.repeat > 1)
                failure->reason = "read " + std::to_string(i) + " of " + std::to_string(meter_.repeat) + ": " +
                                  failure->reason;
            return failure;
        }
    return std::nullopt;
}

PlanSteps::Outcome PlanSteps::write(const ExchangeRequest& request) {
    const auto result = exchange(request);
    if (!result) return std::nullopt;
    return plan::verdictFailure(*result);
}

PlanSteps::Outcome PlanSteps::setTime() {
    const LocalTime t = localTimeNow();
    if (meter_.protocol == MeterProtocol::Cj188)
        return write(cj188WriteExchange(
            cj188SetClock(meter_.meterType, plate(meter_.address),
                          Cj188Time{t.year, t.month, t.day, t.hour, t.minute, t.second}),
            "Set clock"));
    return write(mbusAcknowledgedExchange(
        mbusSetDateTime(mbusTarget(), MbusDateTime{t.year, t.month, t.day, t.hour, t.minute}), "set date and time"));
}

// Sends the valve request, then reads until the status shows the valve there
// (a valve takes seconds to move) or valve_timeout_ms has passed.
PlanSteps::Outcome PlanSteps::valveTo(bool open) {
    const char* want = open ? "open" : "closed";
    if (auto failure = write(cj188WriteExchange(cj188Valve(meter_.meterType, plate(meter_.address), open),
                                                open ? "Valve open" : "Valve close")))
        return failure;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(plan_.valveTimeoutMs);
    std::string last;
    for (;;) {
        const auto result = exchange(readRequest());
        if (!result) return std::nullopt;
        if (auto failure = plan::verdictFailure(*result)) return failure;
        last = plan::recordText(result->reading, "Valve");
        if (last.empty()) return CheckFailure{"valve", "the meter's reading has no valve status"};
        if (last == want) return std::nullopt;
        if (last == "abnormal") return CheckFailure{"valve", std::string("the valve reports abnormal, not ") + want};
        if (std::chrono::steady_clock::now() >= until) break;
        QThread::msleep(kValvePollMs);
    }
    return CheckFailure{"valve", std::string("the valve still shows ") + last + " " +
                                     std::to_string(plan_.valveTimeoutMs) + " ms after " +
                                     (open ? "opening" : "closing")};
}

PlanSteps::Outcome PlanSteps::valveCycle() {
    if (auto failure = valveTo(false)) return failure;
    if (interrupted_) return std::nullopt;
    return valveTo(true);
}

// The write, then a read at the new address that must pass as a read step does.
PlanSteps::Outcome PlanSteps::setAddress(const std::string& next) {
    Outcome failure;
    if (meter_.protocol == MeterProtocol::Cj188) {
        failure = write(cj188WriteExchange(
            cj188WriteAddress(meter_.meterType, plate(meter_.address), plate(next)), "Write address"));
        if (failure || interrupted_) return failure;
        if (meter_.expect.id == meter_.address) meter_.expect.id = next;  // the meter now answers as `next`
        meter_.address = next;
    } else {
        failure = write(mbusAcknowledgedExchange(
            mbusSetAddress(mbusTarget(), static_cast<std::uint8_t>(std::stoi(next))), "set address"));
        if (failure || interrupted_) return failure;
        const auto kept = secondary_;
        secondary_.reset();  // the check reads the new primary address
        meter_.address = next;
        failure = read();
        secondary_ = kept;
        return failure;
    }
    return read();
}

void PlanSteps::run(const plan::Step& step, plan::StepResult& out) {
    out_ = &out;
    interrupted_ = false;
    Outcome failure;
    switch (step.kind) {
        case plan::StepKind::Read: failure = reads(); break;
        case plan::StepKind::SetTime: failure = setTime(); break;
        case plan::StepKind::ValveCycle: failure = valveCycle(); break;
        case plan::StepKind::SetAddress: failure = setAddress(step.newAddress); break;
    }
    if (failure) {
        out.outcome = failure->lineError ? plan::Outcome::Error : plan::Outcome::Failed;
        out.kind = failure->kind;
        out.reason = failure->reason;
    } else if (interrupted_) {
        out.outcome = plan::Outcome::Skipped;
        out.kind = "interrupted";
        out.reason = "interrupted after " + std::to_string(out.exchanges) + " requests";
        if (step.kind == plan::StepKind::ValveCycle) out.reason += "; the valve may be left closed";
    } else {
        out.outcome = plan::Outcome::Passed;
    }
}

}  // namespace mb::cli
