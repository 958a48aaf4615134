#include "cli/PlanLine.h"

#include <QString>
#include <chrono>

#include "cli/LineSession.h"
#include "cli/PlanSteps.h"
#include "core/HistoryCsv.h"

namespace mb::cli {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A step a meter has twice is named "read (2)" the second time, so every
// test case of a report has a name of its own.
std::string stepName(const plan::Meter& meter, const plan::Step& step) {
    int seen = 0;
    for (const plan::Step& s : meter.steps) {
        if (s.name() == step.name()) ++seen;
        if (&s == &step) break;
    }
    return seen > 1 ? step.name() + " (" + std::to_string(seen) + ")" : step.name();
}

plan::StepResult blank(const plan::Meter& meter, const plan::Step& step, const std::string& address) {
    plan::StepResult r;
    r.meterNumber = meter.number;
    r.meter = meter.name;
    r.protocol = meter.protocol == plan::MeterProtocol::Cj188 ? "cj188" : "mbus";
    r.address = address;
    r.step = stepName(meter, step);
    return r;
}

// Every step of the line, not run, with the same reason.
void notRun(const plan::Line& line, plan::LineResult& out, plan::Outcome outcome, const std::string& kind,
            const std::string& reason, std::atomic<int>& stepsDone) {
    for (const plan::Meter& meter : line.meters)
        for (const plan::Step& step : meter.steps) {
            plan::StepResult r = blank(meter, step, meter.reachedBy());
            r.outcome = outcome;
            r.kind = kind;
            r.reason = reason;
            out.steps.push_back(std::move(r));
            ++stepsDone;
        }
}

}  // namespace

plan::LineResult runPlanLine(const plan::Plan& plan, const plan::Line& line, const std::atomic<bool>& stop,
                             std::atomic<int>& stepsDone) {
    const auto start = Clock::now();
    plan::LineResult out;
    out.name = line.name;
    out.port = line.port;
    LineSession session;
    std::string error;
    const QString settings = QStringLiteral("%1,%2,8,1").arg(line.baud).arg(QChar(line.parity));
    if (!session.open(QString::fromStdString(line.port), settings, error)) {
        notRun(line, out, plan::Outcome::Error, "port", "cannot open the port: " + error, stepsDone);
        out.seconds = secondsSince(start);
        return out;
    }
    if (session.overNetwork())
        out.roundTripMs = static_cast<double>(session.networkRoundTrip().count()) / 1000.0;
    for (const plan::Meter& meter : line.meters) {
        PlanSteps steps(session, plan, meter, stop);
        std::string failedStep;
        for (const plan::Step& step : meter.steps) {
            plan::StepResult r = blank(meter, step, steps.address());
            r.startedAt = isoLocalTimeNow();
            const auto stepStart = Clock::now();
            if (stop.load()) {
                r.kind = "interrupted";
                r.reason = "not run: the run was interrupted";
            } else if (!failedStep.empty()) {
                r.kind = "earlier-step-failed";
                r.reason = "not run: step " + failedStep + " of this meter failed";
            } else {
                steps.run(step, r);
                if (r.outcome == plan::Outcome::Failed || r.outcome == plan::Outcome::Error)
                    if (!meter.continueAfterFailure) failedStep = step.name();
            }
            r.seconds = secondsSince(stepStart);
            out.steps.push_back(std::move(r));
            ++stepsDone;
        }
    }
    out.seconds = secondsSince(start);
    return out;
}

}  // namespace mb::cli
