// monitor as a passive listener on a line the test drives, and the install
// tree that cmake --install lays out.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

#include "tests/cli/CliRun.h"
#include "tests/support/core/RawPty.h"
#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"

namespace mb::cli::test {
namespace {

void sendHex(int fd, std::initializer_list<std::uint8_t> bytes) {
    const std::vector<std::uint8_t> data(bytes);
    ASSERT_EQ(write(fd, data.data(), data.size()), static_cast<ssize_t>(data.size()));
}

// "2026-12-08T09:19:00.123+03:30": date, time to the millisecond, zone offset.
const std::regex kIsoTime(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\.\d{3}(Z|[+-]\d{2}:\d{2}))");

TEST(MonitorCommand, PrintsEachFrameDecodedUntilInterrupted) {
    const RawPty pty = openRawPty();
    ASSERT_FALSE(pty.path.empty());
    CliChild monitor({"monitor", "--port", pty.path});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));  // let it open the line
    sendHex(pty.master, {0x10, 0x5B, 0x01, 0x5C, 0x16});           // a master's REQ_UD2
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    sendHex(pty.master, {0x12, 0x34});                              // noise, then a CJ/T 188 reply
    sendHex(pty.master, {0xFE, 0xFE, 0x68, 0x10, 0x01, 0x00, 0x00, 0x05, 0x08, 0x00, 0x00, 0x83, 0x03, 0x0A,
                         0x81, 0x00, 0x97, 0x16});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const CliResult r = monitor.stop(SIGINT);
    close(pty.master);
    close(pty.slave);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string& out = r.out;
    const auto request = out.find("  10 5B 01 5C 16\n");
    const auto noise = out.find("  12 34  (no frame)\n");
    const auto reply = out.find("  68 10 01 00 00 05 08 00 00 83 03 0A 81 00 97 16\n");
    ASSERT_NE(request, std::string::npos) << out;
    ASSERT_NE(noise, std::string::npos) << out;
    ASSERT_NE(reply, std::string::npos) << out;
    EXPECT_LT(request, noise);
    EXPECT_LT(noise, reply);
    EXPECT_NE(out.find("    Address  00000805000001\n", reply), std::string::npos) << out;
    // Each frame's line starts with its ISO 8601 time.
    for (const auto at : {request, noise, reply}) {
        const std::size_t start = out.rfind('\n', at) == std::string::npos ? 0 : out.rfind('\n', at) + 1;
        EXPECT_TRUE(std::regex_match(out.substr(start, at - start), kIsoTime)) << out.substr(start, at - start);
    }
}

// The JSON time is the local time with the zone's offset: a zone of UTC+3:30
// shows as "+03:30".
TEST(MonitorCommand, JsonTimesCarryTheDateAndTheZone) {
    const RawPty pty = openRawPty();
    ASSERT_FALSE(pty.path.empty());
    setenv("TZ", "XYZ-3:30", 1);  // POSIX: 3 h 30 min east of UTC
    CliChild monitor({"monitor", "--json", "--port", pty.path});
    unsetenv("TZ");
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    sendHex(pty.master, {0x10, 0x5B, 0x01, 0x5C, 0x16});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const CliResult r = monitor.stop(SIGINT);
    close(pty.master);
    close(pty.slave);
    EXPECT_EQ(r.status, 0) << r.err;
    std::smatch time;
    const std::regex field(R"re("time":"([^"]*)")re");
    ASSERT_TRUE(std::regex_search(r.out, time, field)) << r.out;
    EXPECT_TRUE(std::regex_match(time[1].str(), kIsoTime)) << time[1];
    EXPECT_EQ(time[1].str().substr(23), "+03:30") << time[1];
}

// monitor --csv writes the history's columns for the answers it hears and
// nothing for requests or noise: a captured CJ/T 188 reply of 3 m^3 current
// and settlement-day flow becomes one row.
TEST(MonitorCommand, CsvHasARowForEachAnswerHeard) {
    const auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    if (!set.found) MB_REAL_FRAMES_MISSING(set.problem);
    const auto reply = std::find_if(set.frames.begin(), set.frames.end(), [](const mb::test::RealFrame& f) {
        return f.file.ends_with("m-cb-780_read_data_reply_1.hex");
    });
    ASSERT_NE(reply, set.frames.end());
    const RawPty pty = openRawPty();
    ASSERT_FALSE(pty.path.empty());
    CliChild monitor({"monitor", "--csv", "--port", pty.path});
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    sendHex(pty.master, {0x10, 0x5B, 0x01, 0x5C, 0x16, 0x12, 0x34});  // a request, then noise
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_EQ(write(pty.master, reply->bytes.data(), reply->bytes.size()),
              static_cast<ssize_t>(reply->bytes.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const CliResult r = monitor.stop(SIGINT);
    close(pty.master);
    close(pty.slave);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::regex csv(
        "time,verdict,reply_ms,Current cumulative flow \\[m\\^3\\],Settlement date cumulative flow \\[m\\^3\\]\r\n"
        "\\d{4}-\\d\\d-\\d\\dT[0-9:.]+[+-]\\d\\d:\\d\\d,pass,,3,3\r\n");
    EXPECT_TRUE(std::regex_match(r.out, csv)) << r.out;
}

TEST(Install, TreeHoldsProgramsDesktopEntryIconAndReadme) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    QProcess install;
    install.start("cmake", {"--install", MB_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    const QDir root(prefix.path());
    for (const char* file : {"bin/meterbench", "bin/meterbench-cli", "bin/meterbench-sim"})
        EXPECT_TRUE(QFileInfo(root.filePath(file)).isExecutable()) << file;
    const QString desktop = root.filePath("share/applications/meterbench.desktop");
    for (const QString& file : {desktop, root.filePath("share/icons/hicolor/256x256/apps/meterbench.png"),
                                root.filePath("share/doc/meterbench/README.md")})
        EXPECT_GT(QFileInfo(file).size(), 0) << file.toStdString();

    QProcess version;
    version.start(root.filePath("bin/meterbench"), {"--version"});
    ASSERT_TRUE(version.waitForFinished(10000));
    EXPECT_TRUE(version.readAllStandardOutput().startsWith("meterbench "));

    QProcess validate;
    validate.start("desktop-file-validate", {desktop});
    if (!validate.waitForStarted()) GTEST_SKIP() << "desktop-file-validate is not installed";
    ASSERT_TRUE(validate.waitForFinished(10000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
}

}  // namespace
}  // namespace mb::cli::test
