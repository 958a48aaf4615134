#include "cli/WriteCommands.h"

#include <iostream>

#include "cli/LineOptions.h"
#include "cli/OneMeterCheck.h"
#include "cli/RequestOptions.h"
#include "core/JsonText.h"

namespace mb::cli {

OptionTable writeSpec(std::set<std::string> valued, std::set<std::string> switches,
                      std::size_t positional) {
    valued.insert({"--address", "--timeout", "--retries"});
    switches.insert({"--json", "--dry-run"});
    OptionTable table = lineSpec(std::move(valued), std::move(switches));
    table.maxPositional = positional;
    return table;
}

int runWrite(const CliOptions& options, const WriteStep& step,
             const std::optional<ExchangeRequest>& anyMeterProbe, const Args& args) {
    std::string error;
    const auto a = attempts(options, error);
    if (!a) return usageError(error, args);
    const bool json = options.on("--json");
    const bool dryRun = options.on("--dry-run");
    announce(step, json, dryRun);
    if (dryRun) {
        if (json) std::cout << dryRunJson(step);
        return kExitOk;
    }
    LineSession session;
    if (!openLine(options, session, error)) return usageError(error, args);
    if (anyMeterProbe) {
        std::string why;
        if (!exactlyOneMeter(session, *anyMeterProbe, *a, why)) {
            const std::string line =
                "nothing written: " + why + " (a write to any meter needs exactly one on the line)";
            if (json) std::cout << "{\"check\":\"refused\",\"reason\":" << jsonQuoted(why) << "}\n";
            std::cerr << "meterbench-cli: " << line << '\n';
            return kExitNoValidReply;
        }
    }
    return sendAndPrint(session, step, *a, json);
}

}  // namespace mb::cli
