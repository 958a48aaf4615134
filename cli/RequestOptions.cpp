#include "cli/RequestOptions.h"

#include "cli/Commands.h"
#include "cli/FrameInput.h"

namespace mb::cli {

std::optional<std::uint8_t> meterTypeOption(std::string text) {
    if (!text.empty() && (text.back() == 'H' || text.back() == 'h')) text.pop_back();
    const auto bytes = parseHexText(text);
    if (!bytes || bytes->size() != 1) return std::nullopt;
    return bytes->front();
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

int exitStatus(const ExchangeResult& result) {
    if (result.answered() && result.verdict != Verdict::MeterError) return kExitOk;
    return result.verdict == Verdict::NotSent ? kExitUsage : kExitNoValidReply;
}

}  // namespace mb::cli
