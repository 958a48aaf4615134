#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace mb::cli {

std::string CliOptions::value(const std::string& name, const std::string& fallback) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

// The command's own help text is printed by the command (it names its
// defaults and examples), so CLI11's generated help is switched off and
// --help becomes an ordinary flag.
std::optional<CliOptions> parseOptions(const std::vector<std::string>& args, const OptionTable& table,
                                       std::string& error) {
    CLI::App app;
    app.set_help_flag();
    std::map<std::string, std::string> values;
    std::map<std::string, bool> switches;
    bool help = false;
    app.add_flag("-h,--help", help);
    for (const std::string& name : table.valued) app.add_option(name, values[name])->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    for (const std::string& name : table.switches) app.add_flag(name, switches[name]);
    std::vector<std::string> positional;
    if (table.maxPositional > 0)
        app.add_option("positional", positional)->expected(0, static_cast<int>(table.maxPositional));
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        error = e.what();
        return std::nullopt;
    }
    CliOptions options;
    options.help = help;
    options.positional = std::move(positional);
    for (const std::string& name : table.valued)
        if (app.count(name) > 0) options.values[name] = values[name];
    for (const std::string& name : table.switches)
        if (switches[name]) options.switches.insert(name);
    return options;
}

std::optional<long> parseInteger(const std::string& text, long min, long max) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<int> parseSeconds(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(seconds) || seconds <= 0 || seconds > 3600)
        return std::nullopt;
    return static_cast<int>(std::lround(seconds * 1000));
}

}  // namespace mb::cli
