// read, set-address and scan against the virtual meter on a pseudo-terminal,
// with the line faults a real bus shows.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <regex>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "tests/cli/CliRun.h"
#include "tests/sim/sim_process.h"

namespace mb::cli::test {
namespace {

using mb::sim::test::SimProcess;

QJsonObject jsonOf(const CliResult& r) { return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object(); }

QString headerText(const QJsonObject& reading, const char* key) {
    return reading["header"].toObject()[key].toVariant().toString();
}

// One JSON object whatever happened; the exit status follows the verdict.
TEST(ReadCommand, RepliesAndFaults) {
    struct Case {
        const char* what;
        std::vector<std::string> sim;
        std::vector<std::string> read;
        int status;
        const char* check;
        const char* headerKey;  // checked when the read passes
        const char* headerValue;
    };
    const Case cases[] = {
        {"M-Bus", {}, {"--address", "1"}, 0, "pass", "id", "12345678"},
        {"M-Bus any", {}, {"--address", "254"}, 0, "pass", "address", "1"},
        {"M-Bus with echo", {"--fault", "echo"}, {"--address", "1"}, 0, "pass", "id", "12345678"},
        {"M-Bus noise before", {"--fault", "noise"}, {"--address", "1"}, 0, "pass", "manufacturer", "SIM"},
        {"M-Bus split", {"--fault", "split"}, {"--address", "1"}, 0, "pass", "id", "12345678"},
        {"CJ/T 188 heat", {}, {"--protocol", "cj188", "--address", "78330000000001", "--meter-type", "20H"},
         0, "pass", "meter_type", "20"},
        {"CJ/T 188 any, echo", {"--fault", "echo"},
         {"--protocol", "cj188", "--address", "AAAAAAAAAAAAAA"}, 0, "pass", "address", "78330000000000"},
        {"nobody at 9", {}, {"--address", "9", "--timeout", "0.3"}, 1, "no-reply", nullptr, nullptr},
        {"silent", {"--fault", "silent"}, {"--address", "1", "--timeout", "0.3"}, 1, "no-reply", nullptr, nullptr},
        {"bad checksum", {"--fault", "bad-checksum"}, {"--address", "1", "--retries", "1"}, 1, "fail", nullptr, nullptr},
        {"several at 254", {"--mbus-meters", "3"}, {"--address", "254", "--retries", "0"}, 1, "collision", nullptr, nullptr},
        {"noise where several may answer", {"--fault", "noise"}, {"--address", "254", "--retries", "0"}, 1,
         "collision", nullptr, nullptr},
        {"address out of range", {}, {"--address", "251"}, 2, nullptr, nullptr, nullptr},
        {"bad CJ/T 188 address", {}, {"--protocol", "cj188", "--address", "1234"}, 2, nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SimProcess sim(c.sim);
        ASSERT_TRUE(sim.started()) << c.what;
        std::vector<std::string> args{"read", "--json", "--port", sim.path()};
        args.insert(args.end(), c.read.begin(), c.read.end());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        if (c.status != 0) {
            EXPECT_FALSE(r.err.empty()) << c.what;  // one clear line says why
        }
        const QJsonObject result = jsonOf(r);
        if (!c.check) {  // a usage error: nothing was asked, and the object says so
            EXPECT_EQ(result["check"].toString(), "error") << c.what << ": " << r.out;
            continue;
        }
        EXPECT_EQ(result["check"].toString(), c.check) << c.what << ": " << r.out;
        if (c.status == 0) {
            EXPECT_FALSE(result["records"].toArray().isEmpty()) << c.what;
            EXPECT_EQ(headerText(result, c.headerKey), c.headerValue) << c.what << ": " << r.out;
        }
    }
}

// Noise around one addressed meter's answer is reported, not called a collision;
// a late answer is reported with its own request's time.
TEST(ReadCommand, SaysWhatItIgnoredAndWhichRequestWasAnswered) {
    SimProcess noisy({"--fault", "noise", "--noise-bytes", "16"});
    ASSERT_TRUE(noisy.started());
    const CliResult withNoise = runCli({"read", "--json", "--port", noisy.path(), "--address", "1"});
    EXPECT_EQ(jsonOf(withNoise)["noise_bytes"].toInt(), 16) << withNoise.out;

    SimProcess late({"--fault", "late", "--delay-ms", "700"});
    ASSERT_TRUE(late.started());
    const CliResult answered =
        runCli({"read", "--port", late.path(), "--address", "1", "--timeout", "0.5", "--retries", "1"});
    EXPECT_EQ(answered.status, 0) << answered.err;
    EXPECT_NE(answered.out.find("answered attempt 1 after 7"), std::string::npos) << answered.out;

    SimProcess silentWater({"--fault", "silent"});
    ASSERT_TRUE(silentWater.started());
    const CliResult hint = runCli({"read", "--port", silentWater.path(), "--protocol", "cj188", "--address",
                                   "78330000000000", "--timeout", "0.2", "--retries", "0"});
    EXPECT_EQ(hint.status, 1);
    EXPECT_NE(hint.err.find("--meter-type 20"), std::string::npos) << hint.err;
}

TEST(ReadCommand, PortErrorsAndComNames) {
    EXPECT_EQ(runCli({"read", "--port", "/dev/no-such-tty", "--address", "1"}).status, 2);
    const CliResult notSerial = runCli({"read", "--port", "/dev/null", "--address", "1"});
    EXPECT_EQ(notSerial.status, 2);
    EXPECT_NE(notSerial.err.find("not a serial device"), std::string::npos) << notSerial.err;
    SimProcess held({});
    ASSERT_TRUE(held.started());
    CliChild monitor({"monitor", "--port", held.path()});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // until it holds the port
    const CliResult busy = runCli({"read", "--port", held.path(), "--address", "1"});
    monitor.stop(SIGTERM);
    EXPECT_EQ(busy.status, 2);
    EXPECT_NE(busy.err.find("in use by another program"), std::string::npos) << busy.err;
    EXPECT_EQ(runCli({"read", "--address", "1"}).status, 2);
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    setenv("METERBENCH_PORTS", ("COM3=" + sim.path()).c_str(), 1);
    const CliResult viaCom = runCli({"read", "--port", "COM3", "--address", "1"});
    const CliResult unmapped = runCli({"read", "--port", "COM4", "--address", "1"});
    unsetenv("METERBENCH_PORTS");
    EXPECT_EQ(viaCom.status, 0) << viaCom.err;
    EXPECT_EQ(viaCom.out.rfind("Check Pass\xEF\xBC\x81\n", 0), 0u) << viaCom.out;
    EXPECT_EQ(unmapped.status, 2);
    EXPECT_NE(unmapped.err.find("COM4"), std::string::npos) << unmapped.err;
}

TEST(SetAddressCommand, ToTheMeterOnTheLineAndToAnOldAddress) {
    SimProcess sim({"--fault", "echo"});
    ASSERT_TRUE(sim.started());
    const std::string port = sim.path();
    const CliResult toAny =
        runCli({"set-address", "--json", "--port", port, "--address", "254", "--new-address", "7"});
    EXPECT_EQ(toAny.status, 0) << toAny.err;
    EXPECT_EQ(headerText(jsonOf(toAny), "address"), "7");
    const CliResult fromOld = runCli({"set-address", "--port", port, "--address", "7", "--new-address", "12"});
    EXPECT_EQ(fromOld.status, 0) << fromOld.err;
    // The meter left 7: asking there again gets no acknowledgement.
    const CliResult stale =
        runCli({"set-address", "--port", port, "--address", "7", "--new-address", "3", "--timeout", "0.3"});
    EXPECT_EQ(stale.status, 1);
    EXPECT_EQ(runCli({"read", "--port", port, "--address", "12"}).status, 0);
    EXPECT_EQ(runCli({"set-address", "--port", port, "--address", "12", "--new-address", "251"}).status, 2);
}

std::vector<std::pair<int, QString>> foundMeters(const CliResult& r) {
    std::vector<std::pair<int, QString>> found;
    for (const auto& entry : jsonOf(r)["found"].toArray()) {
        const QJsonObject m = entry.toObject();
        found.emplace_back(m["address"].toInt(-1), m["id"].toString());
        EXPECT_EQ(m["manufacturer"].toString(), "SIM");
        EXPECT_FALSE(m.contains("note")) << r.out;
    }
    return found;
}

const std::vector<std::pair<int, QString>> kFiveMeters{
    {20, "12345678"}, {21, "12345679"}, {22, "12345680"}, {23, "12345681"}, {24, "12345682"}};

TEST(ScanCommand, PrimaryScanFindsExactlyTheMetersPresentThroughTheEcho) {
    SimProcess sim({"--mbus-meters", "5", "--mbus-address", "20", "--fault", "echo"});
    ASSERT_TRUE(sim.started());
    // The pty answers at once; a short wait keeps the full 0-250 range fast.
    const CliResult r = runCli({"scan", "--json", "--port", sim.path(), "--timeout", "0.03"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(foundMeters(r), kFiveMeters) << r.out;
}

TEST(ScanCommand, SlowMeterWithinTheStandardsAnswerDelayIsFoundAtItsOwnAddress) {
    // At 4800 baud the standard allows 330 bit times + 50 ms = 119 ms before the
    // first byte: 115 ms lands after the short wait, in the next address's.
    SimProcess sim({"--fault", "late", "--delay-ms", "115"});
    ASSERT_TRUE(sim.started());
    const CliResult r = runCli({"scan", "--json", "--baud", "4800", "--port", sim.path()});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::pair<int, QString>> expected{{1, "12345678"}};
    EXPECT_EQ(foundMeters(r), expected) << r.out;
}

TEST(ScanCommand, SecondarySearchResolvesTheCollision) {
    SimProcess sim({"--mbus-meters", "5", "--mbus-address", "20"});
    ASSERT_TRUE(sim.started());
    const CliResult r = runCli({"scan", "--secondary", "--json", "--port", sim.path(), "--timeout", "0.03"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(foundMeters(r), kFiveMeters) << r.out;
}

TEST(ScanCommand, CollisionAtOneAddressIsReportedNotTakenForAMeter) {
    // Two meters both moved to 5: their E5 answers arrive back to back.
    SimProcess sim({"--mbus-meters", "2"});
    ASSERT_TRUE(sim.started());
    ASSERT_EQ(runCli({"set-address", "--port", sim.path(), "--address", "1", "--new-address", "5"}).status, 0);
    ASSERT_EQ(runCli({"set-address", "--port", sim.path(), "--address", "2", "--new-address", "5"}).status, 1);
    const CliResult r = runCli({"scan", "--json", "--port", sim.path(), "--timeout", "0.03"});
    const QJsonArray found = jsonOf(r)["found"].toArray();
    ASSERT_EQ(found.size(), 1) << r.out;
    EXPECT_EQ(found[0].toObject()["address"].toInt(), 5);
    EXPECT_TRUE(found[0].toObject()["note"].toString().startsWith("collision")) << r.out;
}

TEST(ScanCommand, Cj188FindsWaterAndHeatMeter) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    const CliResult r = runCli({"scan", "--protocol", "cj188", "--port", sim.path(), "--timeout", "0.3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("78330000000000"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("78330000000001"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2 meters found"), std::string::npos) << r.out;
}

// read --csv writes the Reading History's header and row: the meter's values in
// the units of --json, and an empty row for a meter that stays silent.
TEST(ReadCommand, CsvGivesTheHistorysColumns) {
    SimProcess meter({});
    ASSERT_TRUE(meter.started());
    const CliResult answered = runCli({"read", "--csv", "--port", meter.path(), "--address", "1"});
    EXPECT_EQ(answered.status, 0) << answered.err;
    const std::regex pass(
        "time,verdict,reply_ms,Energy \\[Wh\\],Volume \\[m\\^3\\],Power \\[W\\],Volume flow \\[m\\^3/h\\],"
        "Flow temperature \\[°C\\],Return temperature \\[°C\\]\r\n"
        "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{6}[+-]\\d\\d:\\d\\d,pass,[0-9.]+,4711000,1234.56,2450,0.312,"
        "65.2,44.8\r\n");
    EXPECT_TRUE(std::regex_match(answered.out, pass)) << answered.out;

    SimProcess silent({"--fault", "silent"});
    ASSERT_TRUE(silent.started());
    const CliResult none = runCli({"read", "--csv", "--port", silent.path(), "--protocol", "cj188", "--address",
                                   "78330000000000", "--timeout", "0.2", "--retries", "0"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.out.find(",no-reply,,,\r\n"), std::string::npos) << none.out;
}

}  // namespace
}  // namespace mb::cli::test
