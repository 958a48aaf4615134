#include "cli/CliOptions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace mb::cli {

std::string CliOptions::value(const std::string& name, const std::string& fallback) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

std::optional<CliOptions> parseOptions(const std::vector<std::string>& args, const OptionTable& table,
                                       std::string& error) {
    CliOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string word = args[i];
        if (word == "--help" || word == "-h") {
            options.help = true;
            continue;
        }
        if (word.size() < 2 || word.rfind("--", 0) != 0) {
            if (options.positional.size() == table.maxPositional) {
                error = "unexpected argument '" + word + "'";
                return std::nullopt;
            }
            options.positional.push_back(word);
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const auto eq = word.find('='); eq != std::string::npos) {
            inlineValue = word.substr(eq + 1);
            word.resize(eq);
        }
        if (table.switches.count(word) && !inlineValue) {
            options.switches.insert(word);
        } else if (table.valued.count(word)) {
            if (!inlineValue && i + 1 >= args.size()) {
                error = "option " + word + " needs a value";
                return std::nullopt;
            }
            options.values[word] = inlineValue ? *inlineValue : args[++i];
        } else {
            error = "unknown option '" + args[i] + "'";
            return std::nullopt;
        }
    }
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
