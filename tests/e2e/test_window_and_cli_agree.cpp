// The window and meterbench-cli run their requests on one exchange engine:
// for every fault the virtual meter can put on the line, both give the same
// verdict, and it is the right one.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "tests/e2e/MeterBench.h"

namespace e2e {
namespace {

struct FaultRow {
    const char* name;
    QStringList sim;
    double timeoutSeconds;
    const char* verdict;  // what both must say
};

const FaultRow kRows[] = {
    {"none", {}, 1.0, "pass"},
    {"echo", {"--fault", "echo"}, 1.0, "pass"},
    {"noise", {"--fault", "noise"}, 1.0, "pass"},
    {"split", {"--fault", "split"}, 2.0, "pass"},
    {"late within the timeout", {"--fault", "late", "--delay-ms", "300"}, 1.0, "pass"},
    {"late beyond the timeout", {"--fault", "late", "--delay-ms", "900"}, 0.4, "no-reply"},
    {"silent", {"--fault", "silent"}, 0.4, "no-reply"},
    {"bad checksum", {"--fault", "bad-checksum"}, 0.4, "fail"},
    {"flood", {"--fault", "flood"}, 2.0, "pass"},
};

QString cliVerdict(const QString& port, Page page, double timeout) {
    QStringList args{QStringLiteral("read"), QStringLiteral("--json"), QStringLiteral("--retries"),
                     QStringLiteral("0"), QStringLiteral("--timeout"), QString::number(timeout),
                     QStringLiteral("--port"), port};
    if (page == Page::Cj188)
        args << QStringLiteral("--protocol") << QStringLiteral("cj188") << QStringLiteral("--address")
             << QStringLiteral("78330000000000");
    else
        args << QStringLiteral("--address") << QStringLiteral("1");
    QProcess cli;
    cli.start(QString::fromLocal8Bit(qgetenv("MB_BIN_DIR")) + QStringLiteral("/meterbench-cli"), args);
    if (!cli.waitForFinished(20000)) return QStringLiteral("(did not finish)");
    return QJsonDocument::fromJson(cli.readAllStandardOutput()).object()[QStringLiteral("check")].toString();
}

QString windowVerdict(MeterBench& bench, Page page, double timeout) {
    bench.usePage(page);
    bench.w().form().setReplyTimeout(timeout);
    bench.w().click(buttonsOf(page).readData);
    if (!waitFor([&] { return !bench.w().verdicts().isEmpty(); }, 8000)) return QStringLiteral("(none)");
    return bench.w().verdicts().first();
}

class WindowAndCli : public ::testing::TestWithParam<Page> {};

TEST_P(WindowAndCli, GiveTheSameVerdictForEveryFault) {
    for (const FaultRow& row : kRows) {
        MeterBench bench(row.sim);
        CONNECT_BENCH_OR_SKIP(bench);
        const QString window = windowVerdict(bench, GetParam(), row.timeoutSeconds);
        bench.window.reset();  // the port is the command line's now
        // A late meter still answers the window's request: let it finish first.
        processEventsFor(row.sim.contains(QStringLiteral("late")) ? 1000 : 50);
        const QString cli = cliVerdict(bench.sim.path(), GetParam(), row.timeoutSeconds);
        EXPECT_EQ(window.toStdString(), row.verdict) << row.name;
        EXPECT_EQ(cli.toStdString(), row.verdict) << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, WindowAndCli, ::testing::Values(Page::Cj188, Page::En1434),
                         [](const auto& info) { return info.param == Page::Cj188 ? "Cj188" : "En1434"; });

}  // namespace
}  // namespace e2e
