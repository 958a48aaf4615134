// The session (scanner, both meters, faults together) and the command line.
#include "sim_test_support.h"
#include "tools/sim/options.h"
#include "tools/sim/session.h"

namespace mb::sim {
namespace {

using test::hex;

const DateTime kWhen{2026, 12, 7, 21, 0, 0};

Options parsed(std::vector<std::string> args) {
    auto result = parseOptions(args);
    if (auto* error = std::get_if<OptionError>(&result)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<Options>(result);
}

std::string errorOf(std::vector<std::string> args) {
    auto result = parseOptions(args);
    auto* error = std::get_if<OptionError>(&result);
    return error ? error->message : std::string();
}

TEST(Session, DefaultsAnswerTheWindowsUntouchedFields) {
    Session session(parsed({}).sim);
    // CJ188 Read Data with DEVICE ID empty and vendor boxes 33 78, then REQ_UD2 to 1.
    Bytes line = hex("FE FE FE 68 10 00 00 00 00 00 33 78 01 03 1F 90 01 D7 16 10 5B 01 5C 16");
    auto exchanges = session.feed(line, kWhen);
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_EQ(exchanges[0].what, "cj188 read-data");
    ASSERT_TRUE(exchanges[0].answered);
    ASSERT_EQ(exchanges[0].plan.size(), 1u);
    EXPECT_TRUE(test::isGoodCj188(exchanges[0].plan[0].bytes, 3));
    EXPECT_EQ(exchanges[1].what, "mbus req-ud2");
    ASSERT_EQ(exchanges[1].plan.size(), 1u);
    EXPECT_TRUE(test::isGoodMbusLong(exchanges[1].plan[0].bytes));
}

TEST(Session, RequestsForOtherMetersAreLoggedButUnanswered) {
    Session session(parsed({}).sim);
    auto exchanges = session.feed(hex("10 5B 07 62 16"), kWhen);
    ASSERT_EQ(exchanges.size(), 1u);
    EXPECT_FALSE(exchanges[0].answered);
    EXPECT_TRUE(exchanges[0].plan.empty());
    EXPECT_EQ(exchanges[0].what, "ignored mbus");
}

TEST(Session, AddressChangeIsNotedAndFaultsOnlyTouchAnsweredRequests) {
    Options o = parsed({"--fault", "silent", "--fault-every", "2"});
    Session session(o.sim);
    auto ignored = session.feed(hex("10 5B 07 62 16"), kWhen);  // not counted
    auto first = session.feed(hex("68 06 06 68 53 FE 51 01 7A 05 22 16"), kWhen);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].note, "primary address 1 -> 5");
    EXPECT_EQ(first[0].plan.size(), 1u);
    auto second = session.feed(hex("10 5B 05 60 16"), kWhen);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_TRUE(second[0].answered);
    EXPECT_TRUE(second[0].plan.empty()) << "second answered request is the faulty one";
    EXPECT_EQ(second[0].note, "fault silent");
    EXPECT_EQ(session.mbus().primaryAddress(), 5);
}

TEST(Options, EveryOptionReachesItsSetting) {
    Options o = parsed({"--cj188-address",
                        "12345678901234",
                        "--meter-type",
                        "21H",
                        "--mbus-address",
                        "0x2A",
                        "--mbus-id",
                        "00001234",
                        "--manufacturer",
                        "ABC",
                        "--fault",
                        "split,late",
                        "--fault=echo",
                        "--fault-every",
                        "4",
                        "--delay-ms",
                        "250",
                        "--split-bytes",
                        "3",
                        "--split-pause-ms",
                        "9",
                        "--noise-bytes",
                        "5",
                        "--flood-bytes",
                        "100",
                        "--seed",
                        "42",
                        "--line-rate",
                        "2400",
                        "--bits-per-byte",
                        "10",
                        "--link",
                        "/tmp/x",
                        "--device",
                        "/dev/ttyS0",
                        "--baud",
                        "9600",
                        "--parity",
                        "o"});
    EXPECT_EQ(formatCj188Address(o.sim.cj188.address), "12345678901234");
    EXPECT_EQ(o.sim.cj188.meterType, 0x21);
    EXPECT_EQ(o.sim.mbus.primaryAddress, 42);
    EXPECT_EQ(o.sim.mbus.identNumber, 1234u);
    EXPECT_EQ(o.sim.mbus.manufacturer, "ABC");
    EXPECT_EQ(faultNames(o.sim.faults.faults), "split+late+echo");
    EXPECT_EQ(o.sim.faults.every, 4u);
    EXPECT_EQ(o.sim.faults.delayMs, 250u);
    EXPECT_EQ(o.sim.faults.splitBytes, 3u);
    EXPECT_EQ(o.sim.faults.splitPauseMs, 9u);
    EXPECT_EQ(o.sim.faults.noiseBytes, 5u);
    EXPECT_EQ(o.sim.faults.floodBytes, 100u);
    EXPECT_EQ(o.sim.faults.seed, 42u);
    EXPECT_EQ(o.line.lineRate, 2400u);
    EXPECT_EQ(o.line.bitsPerByte, 10u);
    EXPECT_EQ(o.link, "/tmp/x");
    EXPECT_EQ(o.line.device, "/dev/ttyS0");
    EXPECT_EQ(o.line.baud, 9600u);
    EXPECT_EQ(o.line.parity, 'O');
}

TEST(Options, DefaultsAreTheDocumentedOnes) {
    Options o = parsed({});
    EXPECT_EQ(formatCj188Address(o.sim.cj188.address), "78330000000000");
    EXPECT_EQ(o.sim.cj188.meterType, 0x10);
    EXPECT_EQ(o.sim.mbus.primaryAddress, 1);
    EXPECT_EQ(o.sim.faults.faults, 0u);
    EXPECT_EQ(o.line.lineRate, 0u);
    EXPECT_TRUE(o.line.device.empty());
    EXPECT_FALSE(o.help);
    EXPECT_TRUE(parsed({"--help"}).help);
}

TEST(Options, BadValuesAreRefusedWithTheOptionsName) {
    EXPECT_NE(errorOf({"--cj188-address", "123"}).find("--cj188-address"), std::string::npos);
    EXPECT_NE(errorOf({"--mbus-address", "251"}).find("0 to 250"), std::string::npos);
    EXPECT_NE(errorOf({"--mbus-address", "010x"}), "");
    EXPECT_NE(errorOf({"--fault", "split,slow"}).find("slow"), std::string::npos);
    EXPECT_NE(errorOf({"--bits-per-byte", "9"}), "");
    EXPECT_NE(errorOf({"--parity", "X"}), "");
    EXPECT_NE(errorOf({"--meter-type", "123"}), "");
    EXPECT_NE(errorOf({"--frobnicate"}).find("unknown option"), std::string::npos);
    EXPECT_NE(errorOf({"--link"}).find("needs a value"), std::string::npos);
}

}  // namespace
}  // namespace mb::sim
