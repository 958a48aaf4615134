// test: runs a test plan over its lines at once, one worker thread per line,
// and writes the reports. Exit 0 all passed, 1 any not, 2 the plan is wrong
// (nothing is sent), 130 interrupted (reports written, marked incomplete).
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/LinesProgress.h"
#include "cli/PlanLine.h"
#include "cli/StopSignals.h"
#include "core/HistoryCsv.h"
#include "core/JsonText.h"
#include "plan/PlanParser.h"
#include "plan/Reports.h"

namespace mb::cli {
namespace {

constexpr int kExitInterrupted = 130;

constexpr const char* kTestHelp =
    "usage: meterbench-cli test PLAN.toml [--junit FILE] [--csv FILE] [--html FILE] [--json]\n"
    "Runs the test plan: its lines at once, the meters of each line one after another.\n"
    "Every key of the plan is described in the README (Test plans).\n"
    "  --junit FILE     JUnit XML: a testsuite per line, a testcase per meter and step\n"
    "  --csv FILE       CSV: one row per meter and step\n"
    "  --html FILE      a printable HTML report\n"
    "  --json           the results as one JSON object on standard output\n"
    "Exit status: 0 every step passed, 1 any failed, 2 the plan is wrong (nothing is sent),\n"
    "130 interrupted (Ctrl-C: the exchange in flight ends, reports say incomplete).\n";

struct Report {
    const char* option;
    std::string (*write)(const plan::PlanResult&);
};
const Report kReports[] = {{"--junit", plan::junitReport}, {"--csv", plan::csvReport}, {"--html", plan::htmlReport}};

bool writeFile(const std::string& path, const std::string& text, bool append = false) {
    std::ofstream out(path, append ? std::ios::binary | std::ios::app : std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

// Runs every line on its own thread and waits, idle, for them all.
std::vector<plan::LineResult> runLines(const plan::Plan& plan, const std::atomic<bool>& stop) {
    const std::size_t n = plan.lines.size();
    std::vector<plan::LineResult> results(n);
    std::vector<std::atomic<int>> done(n);
    std::vector<std::unique_ptr<QThread>> workers;
    std::vector<std::string> labels;
    std::vector<int> totals;
    QEventLoop loop;
    std::size_t finished = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const plan::Line& line = plan.lines[i];
        labels.push_back(line.name);
        int steps = 0;
        for (const auto& m : line.meters) steps += static_cast<int>(m.steps.size());
        totals.push_back(steps);
        workers.emplace_back(QThread::create(
            [&plan, &line, &stop, &result = results[i], &count = done[i]] { result = runPlanLine(plan, line, stop, count); }));
        QObject::connect(workers.back().get(), &QThread::finished, &loop, [&] {
            if (++finished == n) loop.quit();
        });
    }
    LinesProgress progress(labels, totals);
    const auto draw = [&] {
        std::vector<int> now;
        for (const auto& d : done) now.push_back(d.load());
        progress.show(now);
    };
    QTimer redraw;
    if (progress.enabled()) {
        QObject::connect(&redraw, &QTimer::timeout, &loop, draw);
        redraw.start(250);
    }
    for (auto& w : workers) w->start();
    if (n > 0) loop.exec();
    for (auto& w : workers) w->wait();
    draw();
    return results;
}

std::string summary(const plan::PlanResult& result) {
    const plan::Counts c = result.counts();
    std::string out;
    for (const auto& line : result.lines)
        if (line.roundTripMs)
            out += line.name + ": " + line.port + " connected, round trip " + plan::msText(*line.roundTripMs) +
                   " ms, added to each wait for an answer\n";
    for (const auto& line : result.lines)
        for (const plan::StepResult& s : line.steps)
            if (s.outcome != plan::Outcome::Passed)
                out += std::string(plan::outcomeName(s.outcome)) + "  " + line.name + "  " + s.meter + " (" +
                       s.protocol + " " + s.address + ")  " + s.step + ": " + s.reason + "\n";
    out += result.name + ": " + std::to_string(c.passed) + " of " + std::to_string(c.tests) + " passed, " +
           std::to_string(c.failed) + " failed, " + std::to_string(c.errors) + " errors, " +
           std::to_string(c.skipped) + " skipped in " + plan::secondsText(result.seconds) + " s" +
           (result.complete ? "" : " (incomplete: interrupted)") + "\n";
    return out;
}

}  // namespace

int testCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(args, {{"--junit", "--csv", "--html"}, {"--json"}, 1}, error);
    if (!options) return usageError(error, args);
    if (options->help) {
        std::cout << kTestHelp;
        return kExitOk;
    }
    if (options->positional.empty()) return usageError("say which plan: meterbench-cli test PLAN.toml", args);
    auto loaded = plan::loadPlan(options->positional.front());
    if (auto* errors = std::get_if<plan::PlanErrors>(&loaded)) {
        std::string all;
        for (const std::string& line : errors->lines) {
            std::cerr << line << '\n';
            all += (all.empty() ? "" : "\n") + line;
        }
        if (options->on("--json")) std::cout << "{\"check\":\"error\",\"reason\":" << jsonQuoted(all) << "}\n";
        std::cerr << "meterbench-cli: the plan is wrong; nothing was sent\n";
        return kExitUsage;
    }
    const plan::Plan& plan = std::get<plan::Plan>(loaded);
    // A report that cannot be written is found now, before anything is sent.
    for (const Report& r : kReports)
        if (options->has(r.option) && !writeFile(options->value(r.option), "", true))
            return usageError(std::string(r.option) + ": cannot write " + options->value(r.option), args);

    const std::atomic<bool>& stop = catchStopSignals(SecondCtrlC::EndsAtOnce);

    plan::PlanResult result;
    result.name = plan.name;
    result.file = plan.file;
    result.startedAt = isoLocalTimeNow();
    const auto start = std::chrono::steady_clock::now();
    result.lines = runLines(plan, stop);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.complete = !stop.load();

    int status = result.complete ? (result.allPassed() ? kExitOk : kExitNoValidReply) : kExitInterrupted;
    for (const Report& r : kReports)
        if (options->has(r.option) && !writeFile(options->value(r.option), r.write(result))) {
            std::cerr << "meterbench-cli: " << r.option << ": cannot write " << options->value(r.option) << '\n';
            if (status == kExitOk) status = kExitUsage;
        }
    if (options->on("--json")) std::cout << plan::jsonReport(result);
    else std::cout << summary(result);
    if (!result.complete)
        std::cerr << "meterbench-cli: interrupted: reports written for what ran, marked incomplete\n";
    return status;
}

}  // namespace mb::cli
