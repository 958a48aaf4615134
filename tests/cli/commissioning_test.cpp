// The write commands against the virtual meter on a pseudo-terminal: every
// write is followed by a read that shows its effect, and writes to "any meter"
// are refused on a line where that is not exactly one meter.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <regex>
#include <thread>

#include "tests/cli/CliRun.h"
#include "tests/sim/sim_process.h"

namespace mb::cli::test {
namespace {

using mb::sim::test::SimProcess;

constexpr const char* kWater = "78330000000000";

bool says(const CliResult& r, const std::string& text) {
    return r.out.find(text) != std::string::npos;
}

CliResult readWater(const std::string& port, const std::string& address = kWater,
                    std::vector<std::string> more = {}) {
    std::vector<std::string> args{"read",  "--port",    port,  "--protocol", "cj188", "--address",
                                  address, "--timeout", "0.5", "--retries",  "0"};
    args.insert(args.end(), more.begin(), more.end());
    return runCli(args);
}

TEST(Cj188Commissioning, ValveMovesAfterItsTimeAndTheStatusShowsIt) {
    SimProcess sim({"--valve-ms", "400"});
    ASSERT_TRUE(sim.started());
    const CliResult close = runCli({"valve", "--port", sim.path(), "--address", kWater, "close"});
    EXPECT_EQ(close.status, 0) << close.err;
    EXPECT_TRUE(says(close, "Will close the valve of CJ/T 188 meter 78330000000000")) << close.out;
    EXPECT_TRUE(says(close, "Acknowledged")) << close.out;
    EXPECT_TRUE(says(readWater(sim.path()), "Valve  open")) << "still moving";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(says(readWater(sim.path()), "Valve  closed"));
}

TEST(Cj188Commissioning, DryRunPrintsTheFrameAndWritesNothing) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    const CliResult dry =
        runCli({"valve", "--dry-run", "--port", sim.path(), "--address", kWater, "close"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    // C 04, L 04, DI 17 A0, SER 01, 99 close: as M-CB-780 sends it but for the standard's control
    // code.
    EXPECT_TRUE(says(dry, "Frame  FE FE FE 68 10 00 00 00 00 00 33 78 04 04 17 A0 01 99"))
        << dry.out;
    EXPECT_TRUE(says(readWater(sim.path()), "Valve  open"));
}

TEST(Cj188Commissioning, AddressAndClockWritesShowInTheNextRead) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    const CliResult moved = runCli({"set-address", "--protocol", "cj188", "--port", sim.path(),
                                    "--address", kWater, "--new-address", "78330000000042"});
    EXPECT_EQ(moved.status, 0) << moved.err << moved.out;
    EXPECT_EQ(readWater(sim.path()).status, 1) << "the old address is gone";
    EXPECT_EQ(readWater(sim.path(), "78330000000042").status, 0);

    const CliResult clock =
        runCli({"set-time", "--protocol", "cj188", "--port", sim.path(), "--address",
                "78330000000042", "--time", "2031-02-03T04:05:06"});
    EXPECT_EQ(clock.status, 0) << clock.err;
    const CliResult after = readWater(sim.path(), "78330000000042");
    EXPECT_TRUE(says(after, "2031-02-03 04:05")) << after.out;
}

TEST(Cj188Commissioning, ReadsOfHistoryAndDays) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    for (const char* di : {"D120", "D12B", "8102", "8103", "8104", "8105"}) {
        const CliResult r = readWater(sim.path(), kWater, {"--di", di});
        EXPECT_EQ(r.status, 0) << di << ": " << r.err;
        EXPECT_TRUE(says(r, std::string("Data identifier  ") + di)) << r.out;
    }
    EXPECT_EQ(readWater(sim.path(), kWater, {"--di", "A017"}).status, 2)
        << "a write's identifier is no read";
}

// The settlement day rides on set-time (the other calendar setting a meter
// keeps): C 04, L 04, DI 11 A0, SER 01, day 25 in BCD; 8103 then reads it.
TEST(Cj188Commissioning, SettlementDayShowsInTheNextRead) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    const CliResult set = runCli({"set-time", "--protocol", "cj188", "--port", sim.path(),
                                  "--address", kWater, "--settlement-day", "25"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_TRUE(says(set, "Frame  FE FE FE 68 10 00 00 00 00 00 33 78 04 04 11 A0 01 25 02 16"))
        << set.out;
    const CliResult read = readWater(sim.path(), kWater, {"--di", "8103"});
    EXPECT_TRUE(says(read, "Settlement day  day 25 of the month")) << read.out;
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--settlement-day", "32"},
          {"--settlement-day", "5", "--time", "2031-02-03T04:05:06"}}) {
        std::vector<std::string> args{"set-time", "--protocol", "cj188", "--port",
                                      sim.path(), "--address",  kWater};
        args.insert(args.end(), wrong.begin(), wrong.end());
        EXPECT_EQ(runCli(args).status, 2) << wrong[1];
    }
}

// Type I carries the seconds: 06 05 24 E3 32 00 is 04:05:06 on Monday
// (weekday 1 above the hour) 2031-02-03, week not given.
TEST(MbusCommissioning, SetTimeTypeIShowsTheSecondsInTheNextRead) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    const CliResult set = runCli({"set-time", "--port", sim.path(), "--address", "1", "--type", "I",
                                  "--time", "2031-02-03T04:05:06"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_TRUE(says(set, "Frame  68 0B 0B 68 53 01 51 06 6D 06 05 24 E3 32 00 5C 16")) << set.out;
    const CliResult read = runCli({"read", "--port", sim.path(), "--address", "1"});
    // The meter's clock runs on: allow for a slow, loaded machine before the read.
    EXPECT_TRUE(std::regex_search(read.out, std::regex("2031-02-03 04:05:(0[6-9]|1[0-9])")))
        << read.out;
    EXPECT_EQ(runCli({"set-time", "--port", sim.path(), "--address", "1", "--type", "G"}).status,
              2);
}

TEST(MbusCommissioning, SetTimeShowsInTheNextRead) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    const CliResult set = runCli(
        {"set-time", "--port", sim.path(), "--address", "1", "--time", "2031-02-03T04:05:00"});
    EXPECT_EQ(set.status, 0) << set.err;
    // SND_UD to 1, CI 51, DIF 04 VIF 6D, type F 2031-02-03 04:05: 05 04 E3 32.
    EXPECT_TRUE(says(set, "Frame  68 09 09 68 53 01 51 04 6D 05 04 E3 32")) << set.out;
    const CliResult read = runCli({"read", "--port", sim.path(), "--address", "1"});
    EXPECT_TRUE(says(read, "2031-02-03 04:05")) << read.out;
}

// Selection by identification number (F any digit) on a three-meter bus.
TEST(MbusCommissioning, SecondaryReadAndAddressThroughTheSelection) {
    SimProcess sim({"--mbus-meters", "3"});  // ids 12345678..12345680 at 1..3
    ASSERT_TRUE(sim.started());
    const std::string port = sim.path();
    const CliResult one =
        runCli({"read", "--port", port, "--secondary", "F2345679", "--retries", "0"});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_TRUE(says(one, "Identification  12345679")) << one.out;
    const CliResult several =
        runCli({"read", "--port", port, "--secondary", "12345FFF", "--retries", "0"});
    EXPECT_EQ(several.status, 1);
    EXPECT_NE(several.err.find("more than one meter"), std::string::npos) << several.err;
    EXPECT_EQ(runCli({"read", "--port", port, "--secondary", "9999FFFF", "--retries", "0",
                      "--timeout", "0.3"})
                  .status,
              1);

    const CliResult moved = runCli({"set-address", "--port", port, "--secondary", "12345680",
                                    "--new-address", "40", "--retries", "0"});
    EXPECT_EQ(moved.status, 0) << moved.err;
    EXPECT_TRUE(
        says(runCli({"read", "--port", port, "--address", "40"}), "Identification  12345680"));
    EXPECT_EQ(
        runCli({"read", "--port", port, "--address", "3", "--timeout", "0.3", "--retries", "0"})
            .status,
        1);
}

// Frames as libmbus builds them (SND_UD 53, no data, CI 50 / B8..BF), checksums by hand.
TEST(MbusCommissioning, ResetAndBaudSwitch) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    const std::string port = sim.path();
    const CliResult reset = runCli({"reset", "--port", port, "--address", "1"});
    EXPECT_EQ(reset.status, 0) << reset.err;
    EXPECT_TRUE(says(reset, "Frame  68 03 03 68 53 01 50 A4 16")) << reset.out;
    EXPECT_TRUE(says(runCli({"reset", "--nke", "--dry-run", "--port", port, "--address", "1"}),
                     "Frame  10 40 01 41 16"));

    const CliResult baud = runCli({"set-baud", "--port", port, "--address", "1", "--to", "9600"});
    EXPECT_EQ(baud.status, 0) << baud.err;
    EXPECT_TRUE(says(baud, "Frame  68 03 03 68 53 01 BD 11 16")) << baud.out;
    EXPECT_EQ(
        runCli({"read", "--port", port, "--address", "1", "--timeout", "0.3", "--retries", "0"})
            .status,
        1)
        << "silent at the old rate";
    EXPECT_EQ(runCli({"read", "--port", port, "--address", "1", "--baud", "9600"}).status, 0);
    EXPECT_EQ(runCli({"set-baud", "--port", port, "--address", "1", "--to", "1000"}).status, 2);
}

// Three telegrams read as one: as many records as the one-telegram meter's.
TEST(MbusCommissioning, ReadAllMergesTheTelegrams) {
    SimProcess whole({});
    SimProcess spread({"--telegrams", "3"});
    ASSERT_TRUE(whole.started() && spread.started());
    const auto records = [](const CliResult& r) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(r.out))
            .object()["records"]
            .toArray()
            .size();
    };
    const CliResult one = runCli({"read", "--json", "--port", whole.path(), "--address", "1"});
    const CliResult partial = runCli({"read", "--port", spread.path(), "--address", "1"});
    EXPECT_TRUE(says(partial, "More records follow  yes")) << partial.out;
    const CliResult all =
        runCli({"read", "--all", "--json", "--port", spread.path(), "--address", "1"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(records(all), records(one)) << all.out;
    EXPECT_GT(records(one), 10);
    EXPECT_EQ(all.out.find("more_records_follow"), std::string::npos);
    EXPECT_NE(all.out.find("\"telegrams\":3"), std::string::npos) << all.out;
}

// Safe by default: which meter is meant must be said, and "any meter" must be one.
TEST(Commissioning, WritesToAnyMeterNeedExactlyOneOnTheLine) {
    SimProcess three({"--mbus-meters", "3"});
    ASSERT_TRUE(three.started());
    const std::string port = three.path();
    EXPECT_EQ(runCli({"set-address", "--port", port, "--new-address", "9"}).status, 2);
    const CliResult refused =
        runCli({"set-address", "--port", port, "--address", "254", "--new-address", "9"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("3 meters answered"), std::string::npos) << refused.err;
    for (const char* address : {"1", "2", "3"})
        EXPECT_EQ(runCli({"read", "--port", port, "--address", address, "--retries", "0"}).status,
                  0)
            << "nothing written: still at " << address;

    SimProcess threeWater({"--cj188-meters", "3"});  // 78330000000000, ...10, ...20
    ASSERT_TRUE(threeWater.started());
    const CliResult wildcard = runCli({"valve", "--port", threeWater.path(), "--address",
                                       "AAAAAAAAAAAAAA", "close", "--retries", "0"});
    EXPECT_EQ(wildcard.status, 1);
    EXPECT_NE(wildcard.err.find("3 meters answered"), std::string::npos) << wildcard.err;
    for (const char* water : {"78330000000000", "78330000000010", "78330000000020"})
        EXPECT_TRUE(says(readWater(threeWater.path(), water), "Valve  open"))
            << water << " was not written";

    SimProcess one({});
    ASSERT_TRUE(one.started());
    EXPECT_EQ(
        runCli({"valve", "--port", one.path(), "--address", "78AAAAAAAAAAAA", "close"}).status, 2);
    const CliResult any =
        runCli({"valve", "--port", one.path(), "--address", "AAAAAAAAAAAAAA", "close"});
    EXPECT_EQ(any.status, 0) << any.err;
    EXPECT_TRUE(says(readWater(one.path()), "Valve  closed"));
    EXPECT_EQ(
        runCli({"set-address", "--port", one.path(), "--address", "254", "--new-address", "9"})
            .status,
        0);
}

// Options as CLI11 takes them: --name=value too; unknown words are usage errors.
TEST(Commissioning, OptionSyntax) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    EXPECT_EQ(runCli({"read", "--port=" + sim.path(), "--address=1"}).status, 0);
    EXPECT_EQ(runCli({"read", "--port", sim.path(), "--address", "1", "--bogus"}).status, 2);
    EXPECT_EQ(runCli({"no-such-command"}).status, 2);
    EXPECT_EQ(runCli({"valve", "--port", sim.path(), "--address", kWater}).status, 2)
        << "open or close";
}

}  // namespace
}  // namespace mb::cli::test
