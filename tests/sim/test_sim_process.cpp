// meterbench-sim as a program: its first line, its pty, its link and its log.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "sim_process.h"
#include "sim_test_support.h"

namespace mb::sim {
namespace {

using test::hex;
using test::SimProcess;

#define START_OR_SKIP(sim)                                  \
    if (access((sim).program().c_str(), X_OK) != 0)         \
        GTEST_SKIP() << (sim).program() << " is not built"; \
    ASSERT_TRUE((sim).started()) << "no pty path on the first line of " << (sim).program()

TEST(SimProcess, AnswersReadDataAndReqUd2OverItsPty) {
    SimProcess sim({"--cj188-address", "78331234567890", "--mbus-address", "3"});
    START_OR_SKIP(sim);
    EXPECT_EQ(sim.path().rfind("/dev/", 0), 0u) << sim.path();
    ASSERT_TRUE(sim.openLine());

    ASSERT_TRUE(sim.send(hex("FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16")));
    Bytes reply = sim.receive(38);
    ASSERT_EQ(reply.size(), 38u) << toHex(reply);
    EXPECT_TRUE(test::isGoodCj188(reply, 3)) << toHex(reply);
    EXPECT_EQ(reply[12], 0x81);

    ASSERT_TRUE(sim.send(hex("10 5B 03 5E 16")));
    Bytes head = sim.receive(4);
    ASSERT_EQ(head.size(), 4u);
    Bytes rest = sim.receive(head[1] + 2u);
    head.insert(head.end(), rest.begin(), rest.end());
    EXPECT_TRUE(test::isGoodMbusLong(head)) << toHex(head);
    EXPECT_EQ(head[5], 0x03);

    // Another meter's address: nothing comes back.
    ASSERT_TRUE(sim.send(hex("10 5B 04 5F 16")));
    EXPECT_TRUE(sim.receive(1, 300).empty());
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimProcess, LinkPointsAtThePtyAndGoesAwayOnStop) {
    const std::string link = testing::TempDir() + "meterbench-sim-link-" + std::to_string(getpid());
    unlink(link.c_str());
    {
        SimProcess sim({"--link", link});
        START_OR_SKIP(sim);
        // The link is made right after the first line; give it a moment.
        char target[256] = {};
        for (int i = 0; i < 100 && readlink(link.c_str(), target, sizeof target - 1) < 0; ++i)
            usleep(10000);
        EXPECT_EQ(std::string(target), sim.path());
        EXPECT_EQ(sim.stop(), 0);
    }
    struct stat info {};
    EXPECT_NE(lstat(link.c_str(), &info), 0) << "link left behind";
}

TEST(SimProcess, LogShowsRequestAndReplyInHex) {
    SimProcess sim({"--fault", "echo"});
    START_OR_SKIP(sim);
    ASSERT_TRUE(sim.openLine());
    ASSERT_TRUE(sim.send(hex("68 06 06 68 53 FE 51 01 7A 05 22 16")));
    // Echo of the request, then the acknowledgement.
    EXPECT_EQ(sim.receive(13), hex("68 06 06 68 53 FE 51 01 7A 05 22 16 E5"));
    EXPECT_EQ(sim.stop(), 0);

    std::vector<std::string> lines;
    for (std::string l = sim.readLine(1000); !l.empty(); l = sim.readLine(1000)) lines.push_back(l);
    auto has = [&](const std::string& text) {
        for (const auto& l : lines)
            if (l.find(text) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(has(" RX 68 06 06 68 53 FE 51 01 7A 05 22 16"));
    EXPECT_TRUE(has(" REQ mbus set-address: 68 06 06 68 53 FE 51 01 7A 05 22 16"));
    EXPECT_TRUE(has(" NOTE primary address 1 -> 5"));
    EXPECT_TRUE(has(" TX E5"));
    // Every log line starts with a time stamp HH:MM:SS.mmm.
    for (const auto& l : lines) {
        ASSERT_GE(l.size(), 13u);
        EXPECT_EQ(l[2], ':');
        EXPECT_EQ(l[8], '.');
    }
}

TEST(SimProcess, LineRatePacesTheReplyLikeASlowLine) {
    // 19 bytes at 1200 baud and 11 bits a byte take about 174 ms on a real line.
    SimProcess sim({"--line-rate", "1200"});
    START_OR_SKIP(sim);
    ASSERT_TRUE(sim.openLine());
    ASSERT_TRUE(sim.send(hex("FE FE FE 68 10 AA AA AA AA AA AA AA 03 03 0A 81 01 B0 16")));
    Bytes first = sim.receive(1);
    ASSERT_EQ(first.size(), 1u);
    const auto start = std::chrono::steady_clock::now();
    Bytes rest = sim.receive(18);
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(rest.size(), 18u);
    EXPECT_GE(took, std::chrono::milliseconds(120)) << "reply arrived faster than the line allows";
}

TEST(SimProcess, BadOptionsExitWithUsage) {
    SimProcess sim({"--fault", "sideways"});
    if (access(sim.program().c_str(), X_OK) != 0) GTEST_SKIP() << sim.program() << " is not built";
    EXPECT_FALSE(sim.started());
    EXPECT_EQ(sim.stop(), 2);
}

}  // namespace
}  // namespace mb::sim
