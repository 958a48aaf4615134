// The command line of one command, parsed by CLI11: `--name value` options, `--flag`
// switches and positional arguments, checked against what the command takes.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace mb::cli {

struct OptionTable {
    std::set<std::string> valued;    // "--port", "--address", ...
    std::set<std::string> switches;  // "--json", "--secondary", ...
    std::size_t maxPositional = 0;
};

struct CliOptions {
    std::map<std::string, std::string> values;
    std::set<std::string> switches;
    std::vector<std::string> positional;
    bool help = false;

    bool has(const std::string& name) const { return values.count(name) != 0; }
    bool on(const std::string& name) const { return switches.count(name) != 0; }
    std::string value(const std::string& name, const std::string& fallback = {}) const;
};

// `args` are the words after the command name. On a word `table` does not
// know, a missing value or too many positionals: nullopt and `error` says why.
// "--name=value" is accepted as well; "-" is a positional (standard input).
std::optional<CliOptions> parseOptions(const std::vector<std::string>& args, const OptionTable& table,
                                       std::string& error);

// Whole decimal number in [min, max], or nullopt.
std::optional<long> parseInteger(const std::string& text, long min, long max);
// Seconds as a decimal ("2", "0.5") above zero, as milliseconds.
std::optional<int> parseSeconds(const std::string& text);

}  // namespace mb::cli
