// meterbench-sim as a program: its first line, its pty, its link and its log.
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "sim_process.h"
#include "sim_test_support.h"
#include "tools/sim/line_io.h"

namespace mb::sim {
namespace {

using test::hex;
using test::SimProcess;

// The log lines that follow, time stamps cut off, those starting with `prefix`.
std::vector<std::string> logLines(SimProcess& sim, const std::string& prefix) {
    std::vector<std::string> lines;
    for (std::string l = sim.readLine(500); l.size() > 13; l = sim.readLine(500))
        if (l.compare(13, prefix.size(), prefix) == 0) lines.push_back(l.substr(13));
    return lines;
}

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
        EXPECT_EQ(sim.stop(SIGINT), 0);
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
    // 19 bytes at 1200 baud and 11 bits a byte: the last one leaves at least
    // 18 byte times (165 ms) after the first. Scheduling delays only add to it.
    SimProcess sim({"--line-rate", "1200"});
    START_OR_SKIP(sim);
    ASSERT_TRUE(sim.openLine());
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(sim.send(hex("FE FE FE 68 10 AA AA AA AA AA AA AA 03 03 0A 81 01 B0 16")));
    Bytes reply = sim.receive(19);
    const auto took = std::chrono::steady_clock::now() - sent;
    ASSERT_EQ(reply.size(), 19u);
    EXPECT_GE(took, std::chrono::milliseconds(160)) << "reply arrived faster than the line allows";
}

TEST(SimProcess, DeviceModeTakesAnyParityAndAnswersOnTheDevice) {
    // The "device" is the slave of a pty this test owns; the test plays the window on the master.
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    for (const char* parity : {"E", "O", "M"}) {
        SimProcess sim({"--device", name, "--baud", "2400", "--parity", parity});
        START_OR_SKIP(sim);
        EXPECT_EQ(sim.path(), name);
        const Bytes request = hex("10 5B FE 59 16");
        ASSERT_EQ(write(master, request.data(), request.size()), 5);
        Bytes head(4);
        pollfd fd{master, POLLIN, 0};
        std::size_t got = 0;
        while (got < head.size() && poll(&fd, 1, 3000) > 0) {
            ssize_t n = read(master, head.data() + got, head.size() - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        ASSERT_EQ(got, 4u) << "parity " << parity;
        EXPECT_EQ(head[0], 0x68);
        EXPECT_EQ(sim.stop(), 0);
        tcflush(master, TCIOFLUSH);
    }
    close(slave);
    close(master);
}

TEST(SimServe, RunsOnAThreadAndStopsOnRequest) {
    std::string error;
    auto line = Line::openPty(error);
    ASSERT_TRUE(line) << error;
    Session session(SimSettings{});
    Stopper stopper;
    std::FILE* sink = std::fopen("/dev/null", "w");
    ASSERT_NE(sink, nullptr);
    Logger log(sink);
    int status = -1;
    std::thread server([&] { status = serve(*line, session, LineSettings{}, log, stopper); });

    int window = open(line->path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(window, 0);
    const Bytes request = hex("10 40 01 41 16");  // SND_NKE
    ASSERT_EQ(write(window, request.data(), request.size()), 5);
    pollfd fd{window, POLLIN, 0};
    std::uint8_t ack = 0;
    ASSERT_GT(poll(&fd, 1, 3000), 0);
    ASSERT_EQ(read(window, &ack, 1), 1);
    EXPECT_EQ(ack, 0xE5);

    stopper.request();
    server.join();
    EXPECT_EQ(status, 0);
    close(window);
    std::fclose(sink);
}

TEST(SimProcess, BadOptionsExitWithUsage) {
    SimProcess sim({"--fault", "sideways"});
    if (access(sim.program().c_str(), X_OK) != 0) GTEST_SKIP() << sim.program() << " is not built";
    EXPECT_FALSE(sim.started());
    EXPECT_EQ(sim.stop(), 2);
}

TEST(SimProcess, SeveralMbusMetersCollideOnBroadcastAndTheLogNamesThem) {
    SimProcess sim({"--mbus-meters", "2", "--mbus-address", "5", "--mbus-id", "00000042"});
    START_OR_SKIP(sim);
    ASSERT_TRUE(sim.openLine());
    ASSERT_TRUE(sim.send(hex("10 5B FE 59 16")));  // REQ_UD2 to 254
    const Bytes line = sim.receive(512, 1500);     // all that comes
    const std::size_t frame = line.size() > 1 ? line[1] + 6u : 0;
    ASSERT_EQ(line.size(), 2 * frame) << "two long frames back to back";
    EXPECT_EQ(line[frame + 5], 6) << "the second from the meter at 6";
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(logLines(sim, "REQ"),
              std::vector<std::string>{"REQ mbus req-ud2: 10 5B FE 59 16 answered by "
                                       "mbus id 00000042 at 5, mbus id 00000043 at 6"});
}

TEST(SimProcess, DeviceThatIsNotATerminalIsRefusedWithStatus2) {
    const std::string base = testing::TempDir() + "meterbench-sim-dev-" + std::to_string(getpid());
    const std::string file = base + ".txt", fifo = base + ".fifo";
    std::ofstream(file).close();
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {file, testing::TempDir(), fifo, std::string("/dev/null")}) {
        SimProcess sim({"--device", path});
        if (access(sim.program().c_str(), X_OK) != 0) GTEST_SKIP() << "not built";
        EXPECT_FALSE(sim.started()) << path << " was taken as the line";
        EXPECT_EQ(sim.stop(), 2) << path;
        EXPECT_NE(sim.errors().find("not a terminal"), std::string::npos) << path;
    }
    struct stat info {};
    EXPECT_EQ(stat(file.c_str(), &info) == 0 ? info.st_size : -1, 0) << "written into the file";
    unlink(file.c_str());
    unlink(fifo.c_str());
}

TEST(SimProcess, EchoReturnsEveryByteAsItArrives) {
    SimProcess sim({"--fault", "echo"});
    START_OR_SKIP(sim);
    ASSERT_TRUE(sim.openLine());
    // Wake-up bytes and a request for another meter come back, and nothing else.
    const Bytes ignored = hex("FE FE 10 5B 07 62 16");
    ASSERT_TRUE(sim.send(ignored));
    EXPECT_EQ(sim.receive(ignored.size() + 1, 500), ignored);
    // An answered request comes back whole, wake-up bytes included, before the reply.
    const Bytes request = hex("FE FE FE 68 10 00 00 00 00 00 33 78 01 03 1F 90 01 D7 16");
    ASSERT_TRUE(sim.send(request));
    Bytes got = sim.receive(request.size() + 38);
    ASSERT_EQ(got.size(), request.size() + 38) << toHex(got);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + request.size()), request);
}

TEST(SimProcess, LateMeterKeepsListeningWhileItWaits) {
    SimProcess sim({"--fault", "late", "--delay-ms", "700"});
    START_OR_SKIP(sim);
    ASSERT_TRUE(sim.openLine());
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(sim.send(hex("10 5B 01 5C 16")));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(sim.send(hex("10 40 01 41 16")));  // SND_NKE while the meter waits
    Bytes head = sim.receive(4);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(650));
    ASSERT_EQ(head.size(), 4u);
    EXPECT_EQ(sim.receive(head[1] + 3u).back(), 0xE5) << "the second answer follows the first";
    EXPECT_EQ(sim.stop(), 0);
    // Both requests were read and recognised before the first answer went out.
    std::vector<std::string> order;
    for (const auto& l : logLines(sim, "")) order.push_back(l.substr(0, 5));
    EXPECT_EQ(order, (std::vector<std::string>{"NOTE ", "RX 10", "REQ m", "NOTE ", "RX 10", "REQ m",
                                               "NOTE ", "TX 68", "TX E5", "NOTE "}));
}

}  // namespace
}  // namespace mb::sim
