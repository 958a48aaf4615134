#include <iostream>

#include "cj188/Cj188Requests.h"
#include "cli/Commands.h"
#include "cli/CsvOutput.h"
#include "core/Protocol.h"
#include "cli/FrameInput.h"
#include "cli/LineOptions.h"
#include "cli/Output.h"
#include "mbus/MbusRequests.h"

namespace mb::cli {
namespace {

constexpr const char* kReadHelp =
    "usage: meterbench-cli read --port DEV --address A [--protocol mbus|cj188] [--meter-type 10]\n"
    "                           [--baud 2400] [--parity E] [--json|--csv] [--timeout S] [--retries N]\n"
    "Sends one request and prints the reply decoded, as decode does.\n"
    "  --address A      M-Bus: primary address 0-250, or 254 for any meter;\n"
    "                   CJ/T 188: 14-digit address as on the plate (A6 first), AAAAAAAAAAAAAA for any\n"
    "  --protocol P     mbus (default) or cj188 (Read Data, 901F)\n"
    "  --meter-type HH  CJ/T 188 meter type in hex (default 10)\n"
    "  --timeout S      wait for the reply, seconds (default 1 s + the longest frame's time)\n"
    "  --retries N      requests repeated when no valid reply came (default 2)\n"
    "  --json           one JSON object\n"
    "  --csv            the reading history's CSV: a header row, then the row\n";

constexpr const char* kSetAddressHelp =
    "usage: meterbench-cli set-address --port DEV --new-address NEW [--address OLD] [--json]\n"
    "Gives an M-Bus meter the primary address NEW (0-250): SND_UD to OLD, or to 254 (the\n"
    "meter on the line, as the window does) when OLD is not given; expects E5, then reads\n"
    "the meter at NEW and prints its reply decoded.\n"
    "  --timeout S, --retries N as for read\n";

struct Request {
    ExchangeRequest exchange;
    std::string target;
    std::optional<std::uint8_t> meterType;  // CJ/T 188
};

// "10", "10H", "1a": one hex byte, with or without the H the window shows.
std::optional<std::uint8_t> meterTypeOption(std::string text) {
    if (!text.empty() && (text.back() == 'H' || text.back() == 'h')) text.pop_back();
    const auto bytes = parseHexText(text);
    if (!bytes || bytes->size() != 1) return std::nullopt;
    return bytes->front();
}

std::optional<Request> buildRequest(const CliOptions& options, std::string& error) {
    const std::string protocol = options.value("--protocol", "mbus");
    const std::string address = options.value("--address");
    if (address.empty()) {
        error = "--address is required";
        return std::nullopt;
    }
    if (protocol == "mbus") {
        const auto a = parseInteger(address, 0, 254);
        if (!a || *a == 251 || *a == 252 || *a == 253) {
            error = "M-Bus address must be 0-250 or 254, not '" + address + "'";
            return std::nullopt;
        }
        return Request{mbusReadExchange(mbusReqUd2(static_cast<std::uint8_t>(*a))),
                       "M-Bus address " + address, std::nullopt};
    }
    if (protocol == "cj188") {
        const auto plate = cj188AddressFromPlate(address);
        const auto type = meterTypeOption(options.value("--meter-type", "10"));
        if (!plate) {
            error = "CJ/T 188 address must be 14 digits (A6 first), not '" + address + "'";
            return std::nullopt;
        }
        if (!type) {
            error = "meter type must be one hex byte such as 10 or 10H, not '" +
                    options.value("--meter-type") + "'";
            return std::nullopt;
        }
        return Request{cj188ReadDataExchange(cj188ReadData(*type, *plate)),
                       "CJ/T 188 meter " + address, type};
    }
    error = "unknown protocol '" + protocol + "' (mbus or cj188)";
    return std::nullopt;
}

std::optional<ExchangeRunner::Options> attempts(const CliOptions& options, std::string& error) {
    ExchangeRunner::Options a;
    a.retries = 2;
    if (options.has("--timeout")) {
        const auto ms = parseSeconds(options.value("--timeout"));
        if (!ms) {
            error = "--timeout must be seconds above 0";
            return std::nullopt;
        }
        a.timeout = std::chrono::milliseconds(*ms);
    }
    if (options.has("--retries")) {
        const auto n = parseInteger(options.value("--retries"), 0, 100);
        if (!n) {
            error = "--retries must be 0-100";
            return std::nullopt;
        }
        a.retries = static_cast<int>(*n);
    }
    return a;
}

// Why a read did not pass, in one line for standard error.
std::string failureLine(const ExchangeResult& result, const Request& request) {
    switch (result.verdict) {
        case Verdict::NoReply: {
            std::string line = "no reply from " + request.target;
            if (request.meterType == 0x10)
                line += " (heat meters answer to --meter-type 20, any meter to AA)";
            return line;
        }
        case Verdict::Collision: return "collision: more than one meter answered " + request.target;
        case Verdict::MeterError: return request.target + " answered with an error";
        case Verdict::NotSent: return "nothing sent to " + request.target + ": " + result.reason;
        default: return "no valid reply from " + request.target + " (" + result.reason + ")";
    }
}

int exitStatus(const ExchangeResult& result) {
    if (result.answered() && result.verdict != Verdict::MeterError) return kExitOk;
    return result.verdict == Verdict::NotSent ? kExitUsage : kExitNoValidReply;
}

// Runs the request with its retries and prints the result, whatever it is.
// Returns the exit status.
int requestAndPrint(LineSession& session, const Request& request,
                    const ExchangeRunner::Options& options, bool json, bool csv = false) {
    const ExchangeResult result = session.exchange(request.exchange, options);
    if (csv && request.exchange.protocol)
        CsvOutput(std::cout).write(result, request.exchange.protocol->name());
    else
        std::cout << resultOutput(result, json);
    const int status = exitStatus(result);
    if (status != kExitOk) std::cerr << "meterbench-cli: " << failureLine(result, request) << '\n';
    return status;
}

}  // namespace

int readCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(
        args, lineSpec({"--address", "--protocol", "--meter-type", "--timeout", "--retries"}, {"--json", "--csv"}),
        error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kReadHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const auto request = buildRequest(*options, error);
    if (!request) return usageError(error, args);
    const auto a = attempts(*options, error);
    if (!a) return usageError(error, args);
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error, args);
    return requestAndPrint(session, *request, *a, options->on("--json"), options->on("--csv"));
}

int setAddressCommand(const Args& args) {
    std::string error;
    const auto options =
        parseOptions(args, lineSpec({"--address", "--new-address", "--timeout", "--retries"}, {"--json"}), error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kSetAddressHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const auto newAddress = parseInteger(options->value("--new-address"), 0, 250);
    if (!newAddress) return usageError("--new-address must be 0-250", args);
    const auto oldAddress = parseInteger(options->value("--address", "254"), 0, 254);
    if (!oldAddress || (*oldAddress > 250 && *oldAddress != 254))
        return usageError("--address must be 0-250 or 254", args);
    const auto a = attempts(*options, error);
    if (!a) return usageError(error, args);
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error, args);

    const auto oldA = static_cast<std::uint8_t>(*oldAddress);
    const auto newA = static_cast<std::uint8_t>(*newAddress);
    const ExchangeResult answer = session.exchange(
        mbusAcknowledgedExchange(mbusSetAddress(oldA, newA), "set address"), *a);
    if (answer.verdict == Verdict::Collision) {
        std::cerr << "meterbench-cli: collision: more than one meter acknowledged; "
                     "they now share the address "
                  << *newAddress << '\n';
        return kExitNoValidReply;
    }
    if (answer.verdict != Verdict::Acknowledged) {
        std::cerr << "meterbench-cli: no acknowledgement (E5) from M-Bus address " << *oldAddress
                  << '\n';
        return kExitNoValidReply;
    }
    const Request verify{mbusReadExchange(mbusReqUd2(newA)),
                         "M-Bus address " + std::to_string(*newAddress) + " after the change",
                         std::nullopt};
    return requestAndPrint(session, verify, *a, options->on("--json"));
}

}  // namespace mb::cli
