#include "plan/PlanResult.h"

namespace mb::plan {

const char* outcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::Passed: return "passed";
        case Outcome::Failed: return "failed";
        case Outcome::Error: return "error";
        case Outcome::Skipped: return "skipped";
    }
    return "";
}

Counts PlanResult::counts(const LineResult& line) {
    Counts c;
    for (const StepResult& s : line.steps) {
        ++c.tests;
        switch (s.outcome) {
            case Outcome::Passed: ++c.passed; break;
            case Outcome::Failed: ++c.failed; break;
            case Outcome::Error: ++c.errors; break;
            case Outcome::Skipped: ++c.skipped; break;
        }
    }
    return c;
}

Counts PlanResult::counts() const {
    Counts all;
    for (const LineResult& line : lines) {
        const Counts c = counts(line);
        all.tests += c.tests;
        all.passed += c.passed;
        all.failed += c.failed;
        all.errors += c.errors;
        all.skipped += c.skipped;
    }
    return all;
}

bool PlanResult::allPassed() const {
    const Counts c = counts();
    return c.passed == c.tests;
}

}  // namespace mb::plan
