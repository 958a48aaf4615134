// The line commands over a network gateway: the virtual meter served over
// TCP (meterbench-sim --tcp 0), reached as tcp://127.0.0.1:PORT.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "tests/cli/CliRun.h"
#include "tests/sim/sim_process.h"

namespace mb::cli::test {
namespace {

using mb::sim::test::SimProcess;

// The verdicts and exit statuses of a serial line, and the round trip said once.
TEST(Gateway, ReadAndScanAsOnASerialLine) {
    struct Case {
        const char* what;
        std::vector<std::string> sim;
        std::vector<std::string> command;
        int status;
        const char* inOutput;
    };
    const Case cases[] = {
        {"M-Bus read", {}, {"read", "--json", "--address", "1"}, 0, "\"check\":\"pass\""},
        {"paced at 2400 baud", {"--line-rate", "2400"}, {"read", "--json", "--address", "1"}, 0,
         "\"id\":\"12345678\""},
        {"silent", {"--fault", "silent"}, {"read", "--json", "--address", "1", "--timeout", "0.3"}, 1,
         "\"check\":\"no-reply\""},
        {"CJ/T 188 scan", {}, {"scan", "--protocol", "cj188"}, 0, "78330000000000"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> simArgs{"--tcp", "0"};
        simArgs.insert(simArgs.end(), c.sim.begin(), c.sim.end());
        SimProcess sim(simArgs);
        ASSERT_TRUE(sim.started()) << c.what;
        ASSERT_EQ(sim.path().rfind("tcp://127.0.0.1:", 0), 0u) << sim.path();
        std::vector<std::string> args = c.command;
        args.insert(args.begin() + 1, {"--port", sim.path()});
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        EXPECT_NE(r.out.find(c.inOutput), std::string::npos) << c.what << ": " << r.out;
        EXPECT_NE(r.err.find(sim.path() + " connected, round trip "), std::string::npos) << r.err;
    }
}

TEST(Gateway, ARefusedConnectionIsAPortError) {
    std::string address;
    {
        SimProcess sim({"--tcp", "0"});  // a port that was free a moment ago, and is again
        ASSERT_TRUE(sim.started());
        address = sim.path();
    }
    const CliResult r = runCli({"read", "--json", "--port", address, "--address", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("\"check\":\"error\""), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(address + ": connection refused"), std::string::npos) << r.err;
}

// Monitor holds the one connection the meter serves; a second client is
// turned away, and the meter's end ends monitor as a lost line.
TEST(Gateway, MonitorEndsWhenTheGatewayGoes) {
    SimProcess sim({"--tcp", "0"});
    ASSERT_TRUE(sim.started());
    CliChild monitor({"monitor", "--port", sim.path()});
    // The monitor is the first client before the read tries to be the second.
    std::string log;
    const auto logUntil = [&](const char* text) {
        for (std::string line; log.find(text) == std::string::npos && !(line = sim.readLine(10000)).empty();)
            log += line + '\n';
        return log.find(text) != std::string::npos;
    };
    ASSERT_TRUE(logUntil("connected")) << log;
    const CliResult second = runCli({"read", "--port", sim.path(), "--address", "1", "--retries", "0"});
    EXPECT_NE(second.status, 0) << second.out;
    EXPECT_TRUE(logUntil("refused a second client")) << log;

    EXPECT_EQ(sim.stop(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const CliResult r = monitor.stop(SIGTERM);  // already ended by itself: not 0
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("line lost: " + sim.path()), std::string::npos) << r.err;
}

// A gateway that goes while a request waits for its answer ends the wait at
// once with the reason, long before the timeout: the command never hangs.
TEST(Gateway, ALineLostDuringARequestEndsIt) {
    SimProcess sim({"--tcp", "0", "--fault", "silent"});
    ASSERT_TRUE(sim.started());
    CliChild read({"read", "--json", "--port", sim.path(), "--address", "1", "--timeout", "60", "--retries", "0"});
    for (std::string line; (line = sim.readLine(10000)).find("REQ") == std::string::npos;)
        ASSERT_FALSE(line.empty()) << "the request never came";
    EXPECT_EQ(sim.stop(), 0);
    const auto stoppedAt = std::chrono::steady_clock::now();
    const CliResult r = read.stop(0);  // signal 0: only waits for it to end
    EXPECT_LT(std::chrono::steady_clock::now() - stoppedAt, std::chrono::seconds(30));
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.out.find("\"check\":\"no-reply\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("closed"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace mb::cli::test
