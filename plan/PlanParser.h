// Reads a test plan from TOML and checks all of it before anything is sent:
// unknown keys, wrong types, values out of range, a meter on a line the plan
// does not name. Every problem is one line naming the file, the line in it
// and the key: "plan.toml:14: meter 3: unknown protocol 'mbuss'".
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "plan/Plan.h"

namespace mb::plan {

struct PlanErrors {
    std::vector<std::string> lines;
};

// `text` is the plan, `file` the name messages give it.
std::variant<Plan, PlanErrors> parsePlan(std::string_view text, const std::string& file);
// Reads `path` first; a file that cannot be read is one error.
std::variant<Plan, PlanErrors> loadPlan(const std::string& path);

}  // namespace mb::plan
