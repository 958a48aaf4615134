// valve, and set-address / set-time with --protocol cj188.
#include <algorithm>
#include <iostream>

#include "cli/Cj188Target.h"
#include "cli/LineOptions.h"
#include "cli/TimeOption.h"
#include "cli/WriteCommands.h"

namespace mb::cli {
namespace {

constexpr const char* kValveHelp =
    "usage: meterbench-cli valve --port DEV --address ADDR open|close [--meter-type HH]\n"
    "                            [--dry-run] [--json] [--timeout S] [--retries N]\n"
    "Opens or closes a CJ/T 188 meter's valve (C 04, DI A017: 55 open, 99 close) and prints\n"
    "the meter's answer. Read the meter afterwards: its status shows the valve.\n"
    "  --address ADDR   14-digit address (A6 first); AAAAAAAAAAAAAA only when exactly one\n"
    "                   meter answers a read-address first\n"
    "  --meter-type HH  meter type in hex (default 10)\n"
    "  --dry-run        print the frame, send nothing\n";

// Read Address to AA×7 with the meter's type: every meter of that type answers.
std::optional<ExchangeRequest> anyMeterProbe(const Cj188Target& target) {
    if (!target.anyMeter) return std::nullopt;
    return cj188ReadAddressExchange(cj188ReadAddress(target.meterType, kCj188AnyAddress));
}

}  // namespace

int valveCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(args, writeSpec({"--meter-type"}, {}, 1), error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kValveHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const std::string action = options->positional.empty() ? "" : options->positional.front();
    if (action != "open" && action != "close") return usageError("say open or close", args);
    const auto target = cj188Target(*options, true, error);
    if (!target) return usageError(error, args);
    const bool open = action == "open";
    const WriteStep step{
        cj188WriteExchange(cj188Valve(target->meterType, target->address, open), "Valve control"),
        action + " the valve of " + target->name()};
    return runWrite(*options, step, anyMeterProbe(*target), args);
}

int cj188SetAddress(const CliOptions& options, const Args& args) {
    std::string error;
    const auto target = cj188Target(options, true, error);
    if (!target) return usageError(error, args);
    const std::string next = options.value("--new-address");
    const auto newAddress = cj188AddressFromPlate(next);
    if (!newAddress || std::count(newAddress->begin(), newAddress->end(), std::uint8_t{0xAA}) > 0)
        return usageError("--new-address must be 14 digits (A6 first), not '" + next + "'", args);
    const WriteStep step{
        cj188WriteExchange(cj188WriteAddress(target->meterType, target->address, *newAddress),
                           "Write address"),
        "give " + target->name() + " the address " + next};
    return runWrite(options, step, anyMeterProbe(*target), args);
}

int cj188SetTime(const CliOptions& options, const Args& args) {
    std::string error;
    const auto target = cj188Target(options, true, error);
    if (!target) return usageError(error, args);
    const auto time =
        options.has("--time") ? parseLocalTime(options.value("--time")) : localTimeNow();
    if (!time)
        return usageError("--time must be ISO 8601 local time such as 2026-12-08T09:30:00", args);
    const Cj188Time t{time->year, time->month, time->day, time->hour, time->minute, time->second};
    const WriteStep step{
        cj188WriteExchange(cj188SetClock(target->meterType, target->address, t), "Set clock"),
        "set the clock of " + target->name() + " to " + isoText(*time)};
    return runWrite(options, step, anyMeterProbe(*target), args);
}

int cj188WriteSettlementDay(const CliOptions& options, const Args& args) {
    std::string error;
    const auto target = cj188Target(options, true, error);
    if (!target) return usageError(error, args);
    const std::string text = options.value("--settlement-day");
    const auto day = parseInteger(text, 1, 31);
    if (!day)
        return usageError("--settlement-day must be a day of the month, 1-31, not '" + text + "'",
                          args);
    const WriteStep step{
        cj188WriteExchange(
            mb::cj188SetSettlementDay(target->meterType, target->address, static_cast<int>(*day)),
            "Set settlement day"),
        "set the settlement day of " + target->name() + " to day " + std::to_string(*day)};
    return runWrite(options, step, anyMeterProbe(*target), args);
}

}  // namespace mb::cli
