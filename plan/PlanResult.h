// What a plan run found: per line, per meter and step, passed or not and why,
// with the reply times and the last reading. Every report is written from it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Reading.h"

namespace mb::plan {

enum class Outcome {
    Passed,
    Failed,   // the meter did not do what the plan expects
    Error,    // the line could not be used (port, nothing sent)
    Skipped,  // not run: an earlier step failed, or the run was interrupted
};

// "passed", "failed", "error", "skipped"
const char* outcomeName(Outcome outcome);

struct StepResult {
    int meterNumber = 0;
    std::string meter;     // the meter's name in the plan
    std::string protocol;  // "mbus", "cj188"
    std::string address;   // as addressed (primary, secondary or plate address)
    std::string step;      // "read", "set-address:5"
    Outcome outcome = Outcome::Skipped;
    // Why it did not pass: "no-reply", "invalid", "collision", "meter-error",
    // "wrong-id", "out-of-range", "too-slow", "valve", "not-sent", "port",
    // "interrupted", "earlier-step-failed"; empty when passed.
    std::string kind;
    std::string reason;            // one sentence for a person
    std::vector<double> replyMs;   // request end to the answer's first byte, each answer
    int exchanges = 0;             // requests sent, retries included
    std::optional<Reading> reading;  // the last reading the step got
    std::string startedAt;         // local ISO time
    double seconds = 0;
};

struct LineResult {
    std::string name;
    std::string port;
    std::vector<StepResult> steps;  // plan order
    double seconds = 0;
    // A gateway's line (tcp://): the round trip measured when connecting,
    // which every wait for an answer allows for.
    std::optional<double> roundTripMs;
};

struct Counts {
    int tests = 0, passed = 0, failed = 0, errors = 0, skipped = 0;
};

struct PlanResult {
    std::string name;
    std::string file;
    std::string startedAt;
    double seconds = 0;
    bool complete = true;  // false: interrupted, some steps did not run
    std::vector<LineResult> lines;

    Counts counts() const;
    static Counts counts(const LineResult& line);
    bool allPassed() const;
};

}  // namespace mb::plan
