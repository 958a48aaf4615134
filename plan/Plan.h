// A test plan as the engineer wrote it (PLAN.toml), checked and complete:
// the lines to open, the meters on each, and what to do with and expect of
// each meter. Every default is filled in by the parser, so the runner and the
// reports never guess.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mb::plan {

enum class StepKind { Read, SetTime, ValveCycle, SetAddress };

struct Step {
    StepKind kind = StepKind::Read;
    std::string newAddress;  // SetAddress: M-Bus 0-250 or CJ/T 188 14 digits
    // "read", "set-time", "valve-cycle", "set-address:5": as written in the plan.
    std::string name() const;
};

// A value of one of the reading's records that must lie within [min, max].
struct Range {
    std::string quantity;  // "Energy", "Volume", as the reading names it
    std::optional<double> min;
    std::optional<double> max;
    std::uint64_t storage = 0;  // which of the quantity's records: 0 the current one
};

// Header fields the reading must carry. Empty: not checked.
struct Expect {
    std::string id;            // M-Bus identification number; CJ/T 188 address
    std::string manufacturer;  // M-Bus manufacturer letters
    std::optional<std::int64_t> version;
    std::string medium;        // as the reading names it ("Heat (outlet)")
};

enum class MeterProtocol { Mbus, Cj188 };

struct Meter {
    int number = 0;  // 1-based order in the plan, for messages and reports
    std::string name;  // label in reports: the plan's `name`, else "meter N"
    std::string line;  // the line's name
    MeterProtocol protocol = MeterProtocol::Mbus;
    std::string address;    // M-Bus primary "1"; CJ/T 188 14 digits; empty with secondary
    std::string secondary;  // M-Bus identification number, 8 digits
    std::uint8_t meterType = 0x10;  // CJ/T 188 only
    Expect expect;
    std::vector<Range> ranges;
    std::vector<Step> steps;
    int repeat = 1;
    std::optional<int> maxReplyMs;
    bool continueAfterFailure = false;
    // How the meter is reached: its address, or its secondary address.
    std::string reachedBy() const { return secondary.empty() ? address : secondary; }
};

struct Line {
    std::string name;
    std::string port;  // device, COMn or tcp://HOST:PORT
    int baud = 2400;
    char parity = 'E';
    std::vector<Meter> meters;  // in plan order
};

struct Plan {
    std::string file;  // as given on the command line
    std::string name;
    std::optional<int> timeoutMs;  // wait for each reply; default the engine's
    int retries = 2;
    int valveTimeoutMs = 60000;
    std::vector<Line> lines;  // in plan order
    std::size_t meterCount() const;
    std::size_t stepCount() const;
};

}  // namespace mb::plan
