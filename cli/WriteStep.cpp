#include "cli/WriteStep.h"

#include <iostream>

#include "cli/Output.h"
#include "cli/RequestOptions.h"
#include "core/HexText.h"
#include "core/JsonText.h"

namespace mb::cli {
namespace {

std::string frameText(const ExchangeRequest& request) {
    std::string hex = hexEcho(request.bytes);
    if (!hex.empty() && hex.back() == ' ') hex.pop_back();
    return hex;
}

}  // namespace

void announce(const WriteStep& step, bool json, bool dryRun) {
    std::ostream& out = json ? std::cerr : std::cout;
    out << (dryRun ? "Would " : "Will ") << step.intent << '\n'
        << "Frame  " << frameText(step.request) << '\n';
    if (dryRun) out << "Dry run: nothing sent\n";
}

std::string dryRunJson(const WriteStep& step) {
    return "{\"check\":\"dry-run\",\"what\":" + jsonQuoted(step.intent) +
           ",\"frame\":" + jsonQuoted(frameText(step.request)) + "}\n";
}

int sendAndPrint(LineSession& session, const WriteStep& step,
                 const ExchangeRunner::Options& options, bool json, ExchangeResult* out) {
    const ExchangeResult result = session.exchange(step.request, options);
    std::cout << resultOutput(result, json);
    const int status = exitStatus(result);
    if (status != 0) {
        std::cerr << "meterbench-cli: could not " << step.intent << ": "
                  << (result.verdict == Verdict::MeterError  ? "the meter answered with an error"
                      : result.verdict == Verdict::Collision ? "more than one meter answered"
                      : result.verdict == Verdict::NoReply
                          ? "no reply"
                          : "no valid reply (" + result.reason + ")")
                  << '\n';
    }
    if (out) *out = result;
    return status;
}

}  // namespace mb::cli
