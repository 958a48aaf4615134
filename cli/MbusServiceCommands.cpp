// reset and set-baud: M-Bus service requests to one meter, each acknowledged with E5.
#include <iostream>

#include "cli/LineOptions.h"
#include "cli/WriteCommands.h"
#include "mbus/MbusRequests.h"

namespace mb::cli {
namespace {

constexpr const char* kResetHelp =
    "usage: meterbench-cli reset --port DEV --address A [--nke] [--dry-run] [--json]\n"
    "Application reset of an M-Bus meter (SND_UD, CI 50); with --nke a SND_NKE instead\n"
    "(resets the link layer: the next REQ_UD2 starts with FCB set). Expects E5.\n"
    "254 is sent only when exactly one meter answers a read to 254 first.\n"
    "  --dry-run        print the frame, send nothing\n";

constexpr const char* kSetBaudHelp =
    "usage: meterbench-cli set-baud --port DEV --address A --to BAUD [--dry-run] [--json]\n"
    "Switches an M-Bus meter to BAUD (300, 600, 1200, 2400, 4800, 9600, 19200, 38400:\n"
    "SND_UD with CI B8..BF). The meter acknowledges at the old rate (--baud) and answers at\n"
    "BAUD from then on: read it with --baud BAUD.\n"
    "  --dry-run        print the frame, send nothing\n";

// --address as an M-Bus primary address (0-250, or 254 after the one-meter check).
std::optional<std::uint8_t> mbusAddress(const CliOptions& options, std::string& error) {
    const std::string text = options.value("--address");
    const auto a = parseInteger(text, 0, 254);
    if (text.empty()) {
        error = "--address is required";
        return std::nullopt;
    }
    if (!a || (*a > 250 && *a != kMbusAddressAny)) {
        error = "--address must be 0-250 or 254, not '" + text + "'";
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*a);
}

std::optional<ExchangeRequest> anyMeterProbe(std::uint8_t address) {
    if (address != kMbusAddressAny) return std::nullopt;
    return mbusReadExchange(mbusReqUd2(kMbusAddressAny));
}

}  // namespace

int resetCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(args, writeSpec({}, {"--nke"}), error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kResetHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const auto address = mbusAddress(*options, error);
    if (!address) return usageError(error, args);
    const std::string name = "M-Bus address " + std::to_string(*address);
    const WriteStep step =
        options->on("--nke") ? WriteStep{mbusAcknowledgedExchange(mbusSndNke(*address), "SND_NKE"),
                                         "initialise " + name + " (SND_NKE)"}
                             : WriteStep{mbusAcknowledgedExchange(mbusApplicationReset(*address),
                                                                  "application reset"),
                                         "reset the application of " + name};
    return runWrite(*options, step, anyMeterProbe(*address), args);
}

int setBaudCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(args, writeSpec({"--to"}), error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kSetBaudHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const auto address = mbusAddress(*options, error);
    if (!address) return usageError(error, args);
    const auto baud = parseInteger(options->value("--to"), 300, 38400);
    auto bytes = baud ? mbusSwitchBaud(*address, *baud) : std::vector<std::uint8_t>{};
    if (bytes.empty())
        return usageError("--to must be 300, 600, 1200, 2400, 4800, 9600, 19200 or 38400", args);
    const WriteStep step{mbusAcknowledgedExchange(std::move(bytes), "switch baud rate"),
                         "switch M-Bus address " + std::to_string(*address) + " to " +
                             options->value("--to") + " baud"};
    return runWrite(*options, step, anyMeterProbe(*address), args);
}

}  // namespace mb::cli
