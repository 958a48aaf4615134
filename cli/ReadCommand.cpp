#include <iostream>

#include "cj188/Cj188BusRequests.h"
#include "cli/Commands.h"
#include "cli/FrameInput.h"
#include "cli/LineOptions.h"
#include "cli/Output.h"
#include "mbus/MbusBusRequests.h"

namespace mb::cli {
namespace {

constexpr const char* kReadHelp =
    "usage: meterbench-cli read --port DEV --address A [--protocol mbus|cj188] [--meter-type 10]\n"
    "                           [--baud 2400] [--parity E] [--json] [--timeout S] [--retries N]\n"
    "Sends one request and prints the reply decoded, as decode does.\n"
    "  --address A      M-Bus: primary address 0-250, or 254 for any meter;\n"
    "                   CJ/T 188: 14-digit address as on the plate (A6 first), AAAAAAAAAAAAAA for any\n"
    "  --protocol P     mbus (default) or cj188 (Read Data, 901F)\n"
    "  --meter-type HH  CJ/T 188 meter type in hex (default 10)\n"
    "  --timeout S      wait for the reply, seconds (default 1 s + the longest frame's time)\n"
    "  --retries N      requests repeated when no valid reply came (default 2)\n"
    "  --json           one JSON object\n";

constexpr const char* kSetAddressHelp =
    "usage: meterbench-cli set-address --port DEV --new-address NEW [--address OLD] [--json]\n"
    "Gives an M-Bus meter the primary address NEW (0-250): SND_UD to OLD, or to 254 (the\n"
    "meter on the line, as the window does) when OLD is not given; expects E5, then reads\n"
    "the meter at NEW and prints its reply decoded.\n"
    "  --timeout S, --retries N as for read\n";

// A reply we may decode: exactly one frame, or the first frame when the only
// other bytes are noise before it.
const Bytes* firstFrame(const Reply& reply) { return reply.frames.empty() ? nullptr : &reply.frames.front(); }

struct Request {
    Bytes bytes;
    FrameKind kind;
    std::string target;
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
        return Request{mbusReqUd2(static_cast<std::uint8_t>(*a)), FrameKind::Mbus, "M-Bus address " + address};
    }
    if (protocol == "cj188") {
        const auto plate = cj188AddressFromPlate(address);
        const auto type = parseHexText(options.value("--meter-type", "10"));
        if (!plate) {
            error = "CJ/T 188 address must be 14 digits (A6 first), not '" + address + "'";
            return std::nullopt;
        }
        if (!type || type->size() != 1) {
            error = "meter type must be two hex digits, not '" + options.value("--meter-type") + "'";
            return std::nullopt;
        }
        return Request{cj188ReadData(type->front(), *plate), FrameKind::Cj188, "CJ/T 188 meter " + address};
    }
    error = "unknown protocol '" + protocol + "' (mbus or cj188)";
    return std::nullopt;
}

struct Attempts {
    int timeoutMs;
    int retries;
};

std::optional<Attempts> attempts(const CliOptions& options, const LineSession& session, std::string& error) {
    Attempts a{session.defaultReadTimeoutMs(), 2};
    if (options.has("--timeout")) {
        const auto ms = parseSeconds(options.value("--timeout"));
        if (!ms) {
            error = "--timeout must be seconds above 0";
            return std::nullopt;
        }
        a.timeoutMs = *ms;
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

// Sends until a frame passes its checks or the retries are used up; prints
// the last frame decoded. Returns the exit status.
int requestAndPrint(LineSession& session, const Request& request, const Attempts& a, bool json) {
    std::optional<Reading> last;
    bool collision = false;
    for (int attempt = 0; attempt <= a.retries; ++attempt) {
        const Reply reply = session.exchange(request.bytes, request.kind, {a.timeoutMs, a.timeoutMs});
        collision = reply.frames.size() > 1;
        if (const Bytes* frame = firstFrame(reply)) {
            last = decodeAnyFrame(*frame);
            if (last->checkPassed && last->error.empty() && !collision) break;
        }
    }
    if (!last) {
        std::cerr << "meterbench-cli: no reply from " << request.target << '\n';
        return kExitNoValidReply;
    }
    if (collision) {  // no one meter's reading can be trusted
        std::cerr << "meterbench-cli: collision: more than one meter answered " << request.target << '\n';
        return kExitNoValidReply;
    }
    std::cout << readingOutput(*last, json);
    if (!last->checkPassed || !last->error.empty()) {
        std::cerr << "meterbench-cli: no valid reply from " << request.target << '\n';
        return kExitNoValidReply;
    }
    return kExitOk;
}

}  // namespace

int readCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(
        args, lineSpec({"--address", "--protocol", "--meter-type", "--timeout", "--retries"}, {"--json"}), error);
    if (!options) return usageError(error);
    if (options->help) {
        std::cout << kReadHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const auto request = buildRequest(*options, error);
    if (!request) return usageError(error);
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error);
    const auto a = attempts(*options, session, error);
    if (!a) return usageError(error);
    return requestAndPrint(session, *request, *a, options->on("--json"));
}

int setAddressCommand(const Args& args) {
    std::string error;
    const auto options =
        parseOptions(args, lineSpec({"--address", "--new-address", "--timeout", "--retries"}, {"--json"}), error);
    if (!options) return usageError(error);
    if (options->help) {
        std::cout << kSetAddressHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const auto newAddress = parseInteger(options->value("--new-address"), 0, 250);
    if (!newAddress) return usageError("--new-address must be 0-250");
    const auto oldAddress = parseInteger(options->value("--address", "254"), 0, 254);
    if (!oldAddress || (*oldAddress > 250 && *oldAddress != 254))
        return usageError("--address must be 0-250 or 254");
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error);
    const auto a = attempts(*options, session, error);
    if (!a) return usageError(error);

    const Bytes command = mbusSetAddress(static_cast<std::uint8_t>(*oldAddress), static_cast<std::uint8_t>(*newAddress));
    bool acknowledged = false;
    for (int attempt = 0; attempt <= a->retries && !acknowledged; ++attempt) {
        const Reply reply = session.exchange(command, FrameKind::Mbus, {a->timeoutMs, a->timeoutMs});
        if (reply.frames.size() > 1) {
            std::cerr << "meterbench-cli: collision: more than one meter acknowledged; "
                         "they now share the address "
                      << *newAddress << '\n';
            return kExitNoValidReply;
        }
        acknowledged = reply.clean() && reply.frames[0] == Bytes{0xE5};
    }
    if (!acknowledged) {
        std::cerr << "meterbench-cli: no acknowledgement (E5) from M-Bus address " << *oldAddress << '\n';
        return kExitNoValidReply;
    }
    const Request verify{mbusReqUd2(static_cast<std::uint8_t>(*newAddress)), FrameKind::Mbus,
                         "M-Bus address " + std::to_string(*newAddress) + " after the change"};
    return requestAndPrint(session, verify, *a, options->on("--json"));
}

}  // namespace mb::cli
