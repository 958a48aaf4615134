#include <iostream>

#include "cj188/Cj188Requests.h"
#include "cli/Commands.h"
#include "cli/CsvOutput.h"
#include "cli/FrameInput.h"
#include "cli/LineOptions.h"
#include "cli/MbusSelection.h"
#include "cli/MultiTelegram.h"
#include "cli/OneMeterCheck.h"
#include "cli/Output.h"
#include "cli/RequestOptions.h"
#include "cli/WriteCommands.h"
#include "core/JsonText.h"
#include "core/Protocol.h"
#include "mbus/MbusRequests.h"
#include "mbus/SecondarySequence.h"

namespace mb::cli {
namespace {

constexpr const char* kReadHelp =
    "usage: meterbench-cli read --port DEV --address A [--protocol mbus|cj188] [--meter-type 10] [--di HHHH]\n"
    "                           [--baud 2400] [--parity E] [--json|--csv] [--timeout S] [--retries N]\n"
    "Sends one request and prints the reply decoded, as decode does.\n"
    "  --address A      M-Bus: primary address 0-250, or 254 for any meter;\n"
    "                   CJ/T 188: 14-digit address as on the plate (A6 first), AAAAAAAAAAAAAA for any\n"
    "  --secondary ID   M-Bus: the meter with this identification number (8 digits, F for any\n"
    "                   digit): selected at 253, read there, deselected (instead of --address)\n"
    "  --all            M-Bus: every telegram (SND_NKE, then REQ_UD2 with the FCB toggled while\n"
    "                   more records follow), merged into one reading\n"
    "  --protocol P     mbus (default) or cj188 (Read Data, 901F)\n"
    "  --meter-type HH  CJ/T 188 meter type in hex (default 10)\n"
    "  --di HHHH        CJ/T 188 data identifier (default 901F): D120-D12B the last 1-12 months,\n"
    "                   8102 prices, 8103 settlement day, 8104 reading day, 8105 purchase amount\n"
    "  --timeout S      wait for the reply, seconds (default 1 s + the longest frame's time)\n"
    "  --retries N      requests repeated when no valid reply came (default 2)\n"
    "  --json           one JSON object\n"
    "  --csv            the reading history's CSV: a header row, then the row\n";

constexpr const char* kSetAddressHelp =
    "usage: meterbench-cli set-address --port DEV --address OLD|--secondary ID --new-address NEW\n"
    "                                  [--json] [--dry-run]\n"
    "       meterbench-cli set-address --protocol cj188 --port DEV --address OLD --new-address NEW\n"
    "M-Bus: gives the meter at OLD the primary address NEW (0-250): SND_UD, expects E5, then\n"
    "reads the meter at NEW and prints its reply decoded. OLD 254 (any meter) is written only\n"
    "when exactly one meter answers a read to 254 first. --secondary ID selects the meter by\n"
    "its identification number (8 digits, F for any) and writes through 253.\n"
    "CJ/T 188: write address (C 15, DI A018) to the 14-digit OLD; AAAAAAAAAAAAAA only when\n"
    "exactly one meter answers a read-address first.\n"
    "  --dry-run        print the frame, send nothing\n"
    "  --timeout S, --retries N as for read\n";

struct Request {
    ExchangeRequest exchange;
    std::string target;
    std::optional<std::uint8_t> meterType;  // CJ/T 188
};

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
        const auto di = parseHexText(options.value("--di", "901F"));
        const std::uint16_t dataId = di && di->size() == 2 ? std::uint16_t((*di)[0] << 8 | (*di)[1]) : 0;
        if (!cj188IsReadable(dataId)) {
            error = "--di must be 901F, D120-D12B or 8102-8105, not '" + options.value("--di") + "'";
            return std::nullopt;
        }
        return Request{cj188ReadDataExchange(cj188Read(*type, *plate, dataId)),
                       "CJ/T 188 meter " + address, type};
    }
    error = "unknown protocol '" + protocol + "' (mbus or cj188)";
    return std::nullopt;
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

// Prints the result, whatever it is; returns the exit status.
int printResult(const ExchangeResult& result, const Request& request, bool json, bool csv = false) {
    if (csv && request.exchange.protocol)
        CsvOutput(std::cout).write(result, request.exchange.protocol->name());
    else
        std::cout << resultOutput(result, json);
    const int status = exitStatus(result);
    if (status != kExitOk) std::cerr << "meterbench-cli: " << failureLine(result, request) << '\n';
    return status;
}

// Runs the request with its retries and prints the result, whatever it is.
// Returns the exit status.
int requestAndPrint(LineSession& session, const Request& request,
                    const ExchangeRunner::Options& options, bool json, bool csv = false) {
    return printResult(session.exchange(request.exchange, options), request, json, csv);
}

// Selects the meter by its identification number, sends `atSelected` to 253
// and deselects it (mbus/SecondarySequence, as the window does); then `after`
// gets the answer at 253. Exit 1 when not exactly one meter matched.
template <typename After>
int withSelected(const CliOptions& options, const Args& args, ExchangeRequest atSelected,
                 After after) {
    std::string error;
    const std::string id = options.value("--secondary");
    const auto mask = secondaryMaskOption(id);
    if (!mask) return usageError("--secondary must be 8 digits, F for any digit, not '" + id + "'", args);
    if (options.value("--protocol", "mbus") != "mbus") return usageError("--secondary is M-Bus only", args);
    if (options.has("--address")) return usageError("give --address or --secondary, not both", args);
    const auto a = attempts(options, error);
    if (!a) return usageError(error, args);
    LineSession session;
    if (!openLine(options, session, error)) return usageError(error, args);
    SecondarySequence sequence(*mask, std::move(atSelected));
    const ExchangeResult answer = runSequence(session, sequence, *a);
    if (!sequence.reachedOne()) {
        if (options.on("--json"))
            std::cout << "{\"check\":\"refused\",\"reason\":" << jsonQuoted(answer.reason) << "}\n";
        std::cerr << "meterbench-cli: " << answer.reason << " " << id << '\n';
        return kExitNoValidReply;
    }
    return after(session, *a, answer);
}

int readSecondary(const CliOptions& options, const Args& args) {
    const Request request{mbusReadExchange(mbusReqUd2(kMbusAddressSelected)),
                          "the meter selected by " + options.value("--secondary"), std::nullopt};
    return withSelected(
        options, args, request.exchange,
        [&](LineSession&, const ExchangeRunner::Options&, const ExchangeResult& answer) {
            return printResult(answer, request, options.on("--json"));
        });
}

}  // namespace

int readCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(
        args, lineSpec({"--address", "--secondary", "--protocol", "--meter-type", "--di", "--timeout", "--retries"},
                       {"--json", "--csv", "--all"}), error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kReadHelp << kLineOptionsHelp;
        return kExitOk;
    }
    if (options->has("--secondary")) return readSecondary(*options, args);
    const auto request = buildRequest(*options, error);
    if (!request) return usageError(error, args);
    const auto a = attempts(*options, error);
    if (!a) return usageError(error, args);
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error, args);
    if (options->on("--all")) {
        if (options->value("--protocol", "mbus") != "mbus") return usageError("--all is M-Bus only", args);
        const auto address = static_cast<std::uint8_t>(*parseInteger(options->value("--address"), 0, 254));
        const ExchangeResult result = readAllTelegrams(session, address, *a);
        if (options->on("--csv"))
            CsvOutput(std::cout).write(result, "mbus");
        else
            std::cout << resultOutput(result, options->on("--json"));
        const int status = exitStatus(result);
        if (status != kExitOk) std::cerr << "meterbench-cli: " << failureLine(result, *request) << '\n';
        return status;
    }
    return requestAndPrint(session, *request, *a, options->on("--json"), options->on("--csv"));
}

namespace {

// Select, SND_UD to 253 with the new address, read the meter there.
int setAddressSecondary(const CliOptions& options, const Args& args) {
    const auto newAddress = parseInteger(options.value("--new-address"), 0, 250);
    if (!newAddress) return usageError("--new-address must be 0-250", args);
    const auto newA = static_cast<std::uint8_t>(*newAddress);
    const WriteStep step{mbusAcknowledgedExchange(mbusSetAddress(kMbusAddressSelected, newA), "set address"),
                         "give the meter selected by " + options.value("--secondary") + " the address " +
                             std::to_string(*newAddress)};
    const bool json = options.on("--json");
    announce(step, json, options.on("--dry-run"));
    if (options.on("--dry-run")) {
        if (json) std::cout << dryRunJson(step);
        return kExitOk;
    }
    // The read at the new address comes after the meter is deselected again.
    return withSelected(
        options, args, step.request,
        [&](LineSession& session, const ExchangeRunner::Options& a, const ExchangeResult& answer) {
            if (answer.verdict != Verdict::Acknowledged) {
                std::cerr << "meterbench-cli: no acknowledgement (E5) from the selected meter\n";
                return kExitNoValidReply;
            }
            const Request verify{
                mbusReadExchange(mbusReqUd2(newA)),
                "M-Bus address " + std::to_string(*newAddress) + " after the change", std::nullopt};
            return requestAndPrint(session, verify, a, json);
        });
}

}  // namespace

int setAddressCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(args, writeSpec({"--new-address", "--secondary", "--protocol", "--meter-type"}), error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kSetAddressHelp << kLineOptionsHelp;
        return kExitOk;
    }
    if (options->has("--secondary")) return setAddressSecondary(*options, args);
    if (!options->has("--address"))
        return usageError("say which meter: --address OLD (254 for the only meter on the line) or --secondary ID",
                          args);
    const std::string protocol = options->value("--protocol", "mbus");
    if (protocol == "cj188") return cj188SetAddress(*options, args);
    if (protocol != "mbus") return usageError("unknown protocol '" + protocol + "' (mbus or cj188)", args);
    const auto newAddress = parseInteger(options->value("--new-address"), 0, 250);
    if (!newAddress) return usageError("--new-address must be 0-250", args);
    const auto oldAddress = parseInteger(options->value("--address"), 0, 254);
    if (!oldAddress || (*oldAddress > 250 && *oldAddress != 254))
        return usageError("--address must be 0-250 or 254", args);
    const auto a = attempts(*options, error);
    if (!a) return usageError(error, args);

    const auto oldA = static_cast<std::uint8_t>(*oldAddress);
    const auto newA = static_cast<std::uint8_t>(*newAddress);
    const bool json = options->on("--json");
    const WriteStep step{mbusAcknowledgedExchange(mbusSetAddress(oldA, newA), "set address"),
                         "give M-Bus address " + std::to_string(*oldAddress) + " the address " +
                             std::to_string(*newAddress)};
    announce(step, json, options->on("--dry-run"));
    if (options->on("--dry-run")) {
        if (json) std::cout << dryRunJson(step);
        return kExitOk;
    }
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error, args);
    if (oldA == kMbusAddressAny) {
        std::string why;
        if (!exactlyOneMeter(session, mbusReadExchange(mbusReqUd2(kMbusAddressAny)), *a, why)) {
            if (json) std::cout << "{\"check\":\"refused\",\"reason\":" << jsonQuoted(why) << "}\n";
            std::cerr << "meterbench-cli: nothing written: " << why
                      << " (254 needs exactly one meter on the line)\n";
            return kExitNoValidReply;
        }
    }
    const ExchangeResult answer = session.exchange(step.request, *a);
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
    return requestAndPrint(session, verify, *a, json);
}

}  // namespace mb::cli
