#include <QElapsedTimer>
#include <algorithm>
#include <iostream>
#include <set>

#include "cj188/Cj188Requests.h"
#include "cli/BusProbe.h"
#include "cli/Commands.h"
#include "cli/FrameInput.h"
#include "cli/LineOptions.h"
#include "cli/Progress.h"
#include "cli/SecondarySearch.h"

namespace mb::cli {
namespace {

constexpr const char* kHelp =
    "usage: meterbench-cli scan --port DEV [--protocol mbus|cj188] [--secondary] [--json]\n"
    "                           [--baud 2400] [--parity E] [--timeout S] [--retries N]\n"
    "Lists the meters on the line.\n"
    "  mbus (default)  SND_NKE to each primary address 0-250; a meter that acknowledges is\n"
    "                  read (REQ_UD2) for its identification. Two or more answers at once\n"
    "                  are reported as a collision.\n"
    "  --secondary     M-Bus search by identification number with wildcards (selection to\n"
    "                  253), narrowing digit by digit where several meters answer\n"
    "  cj188           Read Address (810A) to the wildcard address for water (10), heat (20)\n"
    "                  and gas (30) meters\n"
    "                  Every address is asked with a short wait (11 bit times + 50 ms + 30 ms,\n"
    "                  85 ms at 2400 baud); where bytes came, that address and the two before\n"
    "                  it are asked again with the longest answer delay allowed (330 + 11 bit\n"
    "                  times + 50 ms + 30 ms, 223 ms), so a slow meter is not missed.\n"
    "  --timeout S     one wait for the first byte, used instead of both (a fast line)\n"
    "  --retries N     repeats at an address where bytes came but no clean answer (default 2)\n"
    "  --json          {\"found\": [{\"address\":..,\"id\":..,\"manufacturer\":..,\"version\":..,\"medium\":..}]}\n"
    "A progress bar is drawn on standard error when it is a terminal.\n"
    "Exit status: 0 scan done (also when nothing was found), 2 usage or port error.\n";

ExchangeResult ping(LineSession& session, int address, const ExchangeRunner::Options& timing) {
    return session.exchange(mbusAcknowledgedExchange(mbusSndNke(static_cast<std::uint8_t>(address)), "SND_NKE"),
                            timing);
}

FoundMeter readPrimary(LineSession& session, int address) {
    FoundMeter meter;
    meter.address = address;
    ExchangeRunner::Options once;
    once.retries = 1;
    const ExchangeResult result =
        session.exchange(mbusReadExchange(mbusReqUd2(static_cast<std::uint8_t>(address))), once);
    if (result.verdict == Verdict::Pass) fillFromReading(meter, result.reading);
    else meter.note = "acknowledged, but no valid reply to REQ_UD2";
    return meter;
}

// The first pass asks every address with the short wait. Bytes in an
// address's wait may be its answer or the late answer of one of the two
// addresses before it: all three are asked again, one by one, with the full
// wait the standard allows.
std::vector<int> quickPass(LineSession& session, int waitMs, Progress& progress) {
    std::vector<bool> again(251, false);
    const auto mark = [&](int address) {
        for (int a = std::max(0, address - 2); a <= address; ++a) again[static_cast<std::size_t>(a)] = true;
    };
    for (int address = 0; address <= 250; ++address) {
        const ExchangeResult result = ping(session, address, quickScanTiming(session, waitMs));
        if (session.lateAnswer()) mark(address - 1);
        if (classify(result) != Answer::Silent) mark(address);
        progress.show(address + 1);
    }
    std::vector<int> suspects;
    for (int a = 0; a <= 250; ++a)
        if (again[static_cast<std::size_t>(a)]) suspects.push_back(a);
    return suspects;
}

std::vector<FoundMeter> primaryScan(LineSession& session, int retries, int waitMs) {
    std::vector<FoundMeter> found;
    Progress progress("scan", 251);
    const std::vector<int> suspects = quickPass(session, waitMs, progress);
    for (int address : suspects) {
        const ExchangeRunner::Options timing = fullScanTiming(session, waitMs);
        ExchangeResult result = ping(session, address, timing);
        // Silence is final; bytes that are no clean answer may be a disturbed one: ask again.
        for (int retry = 0; retry < retries && classify(result) == Answer::Collision; ++retry)
            result = ping(session, address, timing);
        switch (classify(result)) {
            case Answer::Silent: break;
            case Answer::Single:
                if (result.verdict == Verdict::Acknowledged) found.push_back(readPrimary(session, address));
                break;
            case Answer::Collision: {
                FoundMeter meter;
                meter.address = address;
                meter.note = result.verdict == Verdict::Collision ? "collision: several answers at once"
                                                                  : "collision: garbled answer";
                found.push_back(meter);
                break;
            }
        }
    }
    return found;
}

std::vector<FoundMeter> cj188Scan(LineSession& session, int waitMs) {
    std::vector<FoundMeter> found;
    std::set<std::string> seen;
    ExchangeRunner::Options wait;
    if (waitMs > 0) wait.timeout = std::chrono::milliseconds(waitMs);
    for (std::uint8_t type : {0x10, 0x20, 0x30}) {
        const ExchangeResult result =
            session.exchange(cj188ReadAddressExchange(cj188ReadAddress(type, kCj188AnyAddress)), wait);
        if (classify(result) == Answer::Silent) continue;
        FoundMeter meter;
        if (result.verdict == Verdict::Pass) fillFromReading(meter, result.reading);
        else if (result.verdict == Verdict::Invalid) meter.note = "reply fails its check";
        else meter.note = "collision: garbled answer";
        if (meter.note.empty() && !seen.insert(meter.id).second) continue;
        found.push_back(meter);
    }
    return found;
}

}  // namespace

int scanCommand(const Args& args) {
    std::string error;
    const auto options =
        parseOptions(args, lineSpec({"--protocol", "--timeout", "--retries"}, {"--secondary", "--json"}), error);
    if (!options) return usageError(error);
    if (options->help) {
        std::cout << kHelp << kLineOptionsHelp;
        return kExitOk;
    }
    const std::string protocol = options->value("--protocol", "mbus");
    if (protocol != "mbus" && protocol != "cj188") return usageError("unknown protocol '" + protocol + "'");
    if (protocol == "cj188" && options->on("--secondary"))
        return usageError("--secondary is an M-Bus search");
    int waitMs = 0;
    if (options->has("--timeout")) {
        const auto ms = parseSeconds(options->value("--timeout"));
        if (!ms) return usageError("--timeout must be seconds above 0");
        waitMs = *ms;
    }
    const auto retries = parseInteger(options->value("--retries", "2"), 0, 100);
    if (!retries) return usageError("--retries must be 0-100");
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error);

    QElapsedTimer clock;
    clock.start();
    std::vector<FoundMeter> found;
    if (protocol == "cj188") {
        found = cj188Scan(session, waitMs);
    } else if (options->on("--secondary")) {
        SecondarySearch search(session, waitMs);
        found = search.run();
    } else {
        found = primaryScan(session, static_cast<int>(*retries), waitMs);
    }
    std::cout << (options->on("--json") ? foundJson(found) : foundTable(found));
    std::cerr << "scan took " << clock.elapsed() / 1000.0 << " s\n";
    return kExitOk;
}

}  // namespace mb::cli
