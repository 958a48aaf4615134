#include "plan/Plan.h"

namespace mb::plan {

std::string Step::name() const {
    switch (kind) {
        case StepKind::Read: return "read";
        case StepKind::SetTime: return "set-time";
        case StepKind::ValveCycle: return "valve-cycle";
        case StepKind::SetAddress: return "set-address:" + newAddress;
    }
    return {};
}

std::size_t Plan::meterCount() const {
    std::size_t n = 0;
    for (const Line& line : lines) n += line.meters.size();
    return n;
}

std::size_t Plan::stepCount() const {
    std::size_t n = 0;
    for (const Line& line : lines)
        for (const Meter& meter : line.meters) n += meter.steps.size();
    return n;
}

}  // namespace mb::plan
