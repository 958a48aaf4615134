#include <QDateTime>
#include <cstdio>
#include <iostream>
#include <optional>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/FrameInput.h"
#include "cli/LineOptions.h"
#include "cli/Output.h"
#include "cli/StopSignals.h"
#include "cj188/Cj188Protocol.h"
#include "core/HexText.h"
#include "cli/CsvOutput.h"
#include "core/JsonText.h"
#include "mbus/MbusProtocol.h"

namespace mb::cli {
namespace {

constexpr const char* kHelp =
    "usage: meterbench-cli monitor --port DEV [--baud 2400] [--parity E] [--json]\n"
    "Listens without sending and prints every frame on the line (M-Bus and CJ/T 188) with\n"
    "its time of arrival, decoded; bytes that make no frame are printed as such. Runs until\n"
    "interrupted (Ctrl-C, SIGTERM), then exits with status 0; a line lost meanwhile (an\n"
    "unplugged adapter, a gateway's connection closed) ends it with status 2.\n"
    "Times are ISO 8601 local time with the date and the zone (2026-12-08T09:19:00.123+08:00).\n"
    "  --json  one JSON object a line: {\"time\":..,\"hex\":..,\"reading\":{..}}\n"
    "  --csv   the reading history's CSV of the answers heard (the first answer's\n"
    "          protocol decides the columns)\n";

// ISO 8601 local time with the date and the zone's offset, to the millisecond
// ("2026-12-08T09:19:00.123+08:00"): a capture left running overnight, or read
// in another zone, still says when each frame came.
std::string now() {
    const QDateTime local = QDateTime::currentDateTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs).toStdString();
}

// A whole frame of either protocol at the start of `bytes`, too few bytes yet
// to tell, or none.
FrameCheck frameAt(std::span<const std::uint8_t> bytes) {
    bool needMore = false;
    for (const mb::Protocol* protocol : {&mbusProtocol(), &cj188Protocol()}) {
        if (!protocol->mayStartFrame(bytes[0])) continue;
        const FrameCheck check = protocol->checkFrame(bytes);
        if (check.status == FrameCheck::Status::Whole) return check;
        needMore = needMore || check.status == FrameCheck::Status::NeedMore;
    }
    return needMore ? FrameCheck::needMore() : FrameCheck::notAFrame("no frame");
}

void printFrame(const Bytes& frame, bool json) {
    std::string hex = hexEcho(frame);
    if (!hex.empty()) hex.pop_back();
    const Reading reading = decodeAnyFrame(frame);
    if (json) {
        std::string line = readingOutput(reading, true);
        line.pop_back();
        std::cout << "{\"time\":" << jsonQuoted(now()) << ",\"hex\":" << jsonQuoted(hex) << ",\"reading\":" << line
                  << "}\n";
    } else {
        std::cout << now() << "  " << hex << '\n';
        std::string text = readingOutput(reading, false);
        for (std::size_t at = 0; at < text.size();) {
            const auto end = text.find('\n', at);
            std::cout << "    " << text.substr(at, end - at) << '\n';
            at = end + 1;
        }
    }
    std::cout.flush();
}

void printUnframed(Bytes& bytes, bool json) {
    if (bytes.empty()) return;
    std::string hex = hexEcho(bytes);
    hex.pop_back();
    if (json) std::cout << "{\"time\":" << jsonQuoted(now()) << ",\"unframed\":" << jsonQuoted(hex) << "}\n";
    else std::cout << now() << "  " << hex << "  (no frame)\n";
    std::cout.flush();
    bytes.clear();
}

// An answer heard (a decoded frame with records; requests have none) as a CSV row.
void writeAnswerRow(CsvOutput& csv, const Bytes& frame) {
    ExchangeResult result;
    result.reading = decodeAnyFrame(frame);
    if (result.reading.records.empty()) return;
    result.verdict = result.reading.checkPassed ? Verdict::Pass : Verdict::Invalid;
    csv.write(result, result.reading.protocol);
}

}  // namespace

int monitorCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(args, lineSpec({}, {"--json", "--csv"}), error);
    if (!options) return usageError(error);
    if (options->help) {
        std::cout << kHelp << kLineOptionsHelp;
        return kExitOk;
    }
    LineSession session;
    if (!openLine(*options, session, error)) return usageError(error);
    const std::atomic<bool>& stop = catchStopSignals(SecondCtrlC::AlsoAsks);

    const bool json = options->on("--json");
    std::optional<CsvOutput> csv;
    if (options->on("--csv")) csv.emplace(std::cout);
    // A frame's bytes follow each other without a pause; a gap this long ends what came.
    const int gapMs = std::max(50, session.bytesMs(3));
    Bytes pending, unframed;
    while (!stop) {
        // A line that went away (a gateway's connection ended) hears nothing more.
        if (!session.isOpen()) {
            if (!csv) printUnframed(unframed, json);
            std::cerr << "meterbench-cli: line lost: " << session.lostReason() << '\n';
            return kExitUsage;
        }
        const Bytes chunk = session.listen(gapMs);
        pending.insert(pending.end(), chunk.begin(), chunk.end());
        std::size_t at = 0;
        while (at < pending.size()) {
            const FrameCheck match = frameAt(std::span(pending).subspan(at));
            if (match.status == FrameCheck::Status::Whole) {
                const Bytes frame(pending.begin() + static_cast<std::ptrdiff_t>(at),
                                  pending.begin() + static_cast<std::ptrdiff_t>(at + match.length));
                if (csv) {
                    unframed.clear();
                    writeAnswerRow(*csv, frame);
                } else {
                    printUnframed(unframed, json);
                    printFrame(frame, json);
                }
                at += match.length;
            } else if (match.status == FrameCheck::Status::NeedMore && !chunk.empty()) {
                break;  // the rest of the frame is on its way
            } else {
                // Wake-up bytes belong to the frame after them, not to noise.
                if (!cj188Protocol().isPreamble(pending[at])) unframed.push_back(pending[at]);
                ++at;
            }
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(at));
        if (chunk.empty() && !csv) printUnframed(unframed, json);
        if (csv) unframed.clear();
    }
    return kExitOk;
}

}  // namespace mb::cli
