// Parses arbitrary text as a test plan. Either every problem is reported as a
// line naming the file, or the plan is complete as the runner relies on it:
// each meter on the line that holds it, an address to reach it by, something
// to do, and the line settings the port takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "plan/PlanParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = mb::plan::parsePlan(text, "plan.toml");
    if (const auto* errors = std::get_if<mb::plan::PlanErrors>(&parsed)) {
        if (errors->lines.empty()) std::abort();
        for (const std::string& line : errors->lines)
            if (line.rfind("plan.toml", 0) != 0) std::abort();
        return 0;
    }
    const mb::plan::Plan& plan = std::get<mb::plan::Plan>(parsed);
    if (plan.lines.empty() || plan.meterCount() == 0) std::abort();
    for (const mb::plan::Line& line : plan.lines) {
        if (line.meters.empty() || line.port.empty() || line.baud <= 0) std::abort();
        if (std::string_view("NEOMS").find(line.parity) == std::string_view::npos) std::abort();
        for (const mb::plan::Meter& meter : line.meters) {
            if (meter.line != line.name || meter.steps.empty() || meter.repeat < 1) std::abort();
            if (meter.address.empty() == meter.secondary.empty()) std::abort();
        }
    }
    return 0;
}
