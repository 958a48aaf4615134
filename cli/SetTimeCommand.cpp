// set-time: the meter's clock, M-Bus (SND_UD, CI 51, type F or I) or CJ/T 188 (A015);
// for CJ/T 188 also the settlement day (A011), the other calendar setting a meter keeps.
#include <iostream>

#include "cli/LineOptions.h"
#include "cli/OneMeterCheck.h"
#include "cli/TimeOption.h"
#include "cli/WriteCommands.h"
#include "mbus/MbusRequests.h"

namespace mb::cli {
namespace {

constexpr const char* kSetTimeHelp =
    "usage: meterbench-cli set-time --port DEV --address A [--protocol mbus|cj188] [--time "
    "ISO8601]\n"
    "                               [--meter-type HH] [--dry-run] [--json] [--timeout S] "
    "[--retries N]\n"
    "                               [--type F|I] [--settlement-day D]\n"
    "Sets a meter's clock to --time (local time, 2026-12-08T09:30:00; default: now) and prints\n"
    "the meter's answer. M-Bus: SND_UD, CI 51, a date-time record of --type F (the default, to\n"
    "the minute) or I (with seconds); CJ/T 188: C 04, DI A015.\n"
    "CJ/T 188 only: --settlement-day D (1-31) writes the settlement day instead (C 04, DI A011).\n"
    "254 or AAAAAAAAAAAAAA only when exactly one meter answers first.\n"
    "  --dry-run        print the frame, send nothing\n";

int mbusSetTime(const CliOptions& options, const Args& args) {
    const std::string text = options.value("--address");
    const auto address = parseInteger(text, 0, 254);
    if (!address || (*address > 250 && *address != kMbusAddressAny))
        return usageError("--address must be 0-250 or 254, not '" + text + "'", args);
    const auto time =
        options.has("--time") ? parseLocalTime(options.value("--time")) : localTimeNow();
    if (!time)
        return usageError("--time must be ISO 8601 local time such as 2026-12-08T09:30:00", args);
    const std::string type = options.value("--type", "F");
    if (type != "F" && type != "I" && type != "f" && type != "i")
        return usageError("--type must be F or I, not '" + type + "'", args);
    const bool typeI = type == "I" || type == "i";
    const auto a = static_cast<std::uint8_t>(*address);
    const MbusDateTime t{time->year, time->month,  time->day,
                         time->hour, time->minute, time->second};
    const WriteStep step{
        mbusAcknowledgedExchange(mbusSetDateTime(a, t, typeI ? MbusTimeType::I : MbusTimeType::F),
                                 "set date and time"),
        "set the clock of M-Bus address " + text + " to " +
            isoText(*time).substr(0, typeI ? 19 : 16) + (typeI ? " (type I)" : " (type F)")};
    std::optional<ExchangeRequest> probe;
    if (a == kMbusAddressAny) probe = mbusReadExchange(mbusReqUd2(kMbusAddressAny));
    return runWrite(options, step, probe, args);
}

}  // namespace

int setTimeCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(
        args, writeSpec({"--protocol", "--time", "--meter-type", "--type", "--settlement-day"}),
        error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kSetTimeHelp << kLineOptionsHelp;
        return kExitOk;
    }
    if (!options->has("--address")) return usageError("--address is required", args);
    const std::string protocol = options->value("--protocol", "mbus");
    if (protocol == "cj188" && options->has("--type"))
        return usageError("--type is for M-Bus date-times (F or I)", args);
    if (protocol != "cj188" && options->has("--settlement-day"))
        return usageError("--settlement-day is for CJ/T 188 meters (--protocol cj188)", args);
    if (protocol == "cj188" && options->has("--settlement-day")) {
        if (options->has("--time"))
            return usageError("--settlement-day and --time are separate writes", args);
        return cj188WriteSettlementDay(*options, args);
    }
    if (protocol == "cj188") return cj188SetTime(*options, args);
    if (protocol == "mbus") return mbusSetTime(*options, args);
    return usageError("unknown protocol '" + protocol + "' (mbus or cj188)", args);
}

}  // namespace mb::cli
