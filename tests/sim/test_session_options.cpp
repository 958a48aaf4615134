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

// --- the CJ/T 188 water and heat meters on one line ---------------------------

// Read Data (or Read Address) with meter type and address A0..A6 given in hex.
Bytes cj188Request(const std::string& typeAndAddress, bool readData) {
    Bytes b = hex("68 " + typeAndAddress + (readData ? " 01 03 1F 90 01" : " 03 03 0A 81 01"));
    b.push_back(sum8(b, 0, b.size()));
    b.push_back(0x16);
    return b;
}

TEST(Session, Cj188RequestsReachTheWaterOrTheHeatMeter) {
    struct Route {
        const char* typeAndAddress;
        bool readData;
        const char* answeredBy;  // "" for nobody
    };
    for (const Route& c :
         {Route{"10 00 00 00 00 00 33 78", true, "cj188 water 78330000000000"},
          Route{"20 01 00 00 00 00 33 78", true, "cj188 heat 78330000000001"},
          Route{"AA 01 00 00 00 00 33 78", true, "cj188 heat 78330000000001"},
          Route{"AA AA AA AA AA AA AA AA", true, "cj188 water 78330000000000"},
          Route{"AA AA AA AA AA AA AA AA", false, "cj188 water 78330000000000"},
          Route{"20 AA AA AA AA AA AA AA", false, "cj188 heat 78330000000001"},
          Route{"20 00 00 00 00 00 33 78", true, ""}, Route{"10 01 00 00 00 00 33 78", true, ""}}) {
        SCOPED_TRACE(c.typeAndAddress);
        Session session(parsed({}).sim);
        auto exchanges = session.feed(cj188Request(c.typeAndAddress, c.readData), kWhen);
        ASSERT_EQ(exchanges.size(), 1u);
        const std::string expected = c.answeredBy;
        EXPECT_EQ(exchanges[0].answeredBy.empty() ? "" : exchanges[0].answeredBy.at(0), expected);
        if (expected.empty()) continue;
        const Bytes& reply = exchanges[0].plan.at(0).bytes;
        ASSERT_TRUE(test::isGoodCj188(reply, 3)) << toHex(reply);
        EXPECT_EQ(reply[4], expected.find("heat") != std::string::npos ? 0x20 : 0x10);
    }
}

// --- several M-Bus meters on one line ---------------------------------------

Bytes shortFrame(std::uint8_t control, std::uint8_t address) {
    return Bytes{0x10, control, address, static_cast<std::uint8_t>(control + address), 0x16};
}

// A long frame 68 L L 68 C A CI data CS 16 from "C A CI data" in hex.
Bytes longFrame(const std::string& body) {
    Bytes user = hex(body);
    Bytes b{0x68, static_cast<std::uint8_t>(user.size()), static_cast<std::uint8_t>(user.size()),
            0x68};
    b.insert(b.end(), user.begin(), user.end());
    b.push_back(sum8(user, 0, user.size()));
    b.push_back(0x16);
    return b;
}

// What went on the line, frame by frame: "E5", or "@A" for an RSP_UD from address A.
std::string framesOf(const Exchange& e) {
    Bytes out;
    for (const Chunk& c : e.plan) out.insert(out.end(), c.bytes.begin(), c.bytes.end());
    std::string frames;
    for (std::size_t at = 0; at < out.size(); at += out[at] == 0xE5 ? 1 : out[at + 1] + 6u) {
        frames += frames.empty() ? "" : " ";
        frames += out[at] == 0xE5 ? "E5" : "@" + std::to_string(out[at + 5]);
        if (out[at] != 0xE5) {
            const Bytes frame(out.begin() + at, out.begin() + at + out[at + 1] + 6);
            EXPECT_TRUE(test::isGoodMbusLong(frame)) << toHex(frame);
        }
    }
    return frames;
}

TEST(Session, MbusMetersAnswerByPrimaryAndSecondaryAddressAndCollide) {
    // Meters at 1, 2, 3 with ids 12345678, 12345679, 12345680, all "SIM" (2D 4D), version 01, heat.
    Session session(parsed({"--mbus-meters", "3"}).sim);
    struct Step {
        Bytes request;
        const char* frames;  // what the line carries back
        const char* note;    // a part of the exchange's note
    };
    const std::vector<Step> steps{
        {shortFrame(0x7B, 2), "@2", ""},
        {shortFrame(0x5B, 254), "@1 @2 @3", "collision: 3"},
        {shortFrame(0x40, 3), "E5", ""},
        {shortFrame(0x40, 254), "E5 E5 E5", "collision"},
        {shortFrame(0x5B, 253), "", ""},  // nobody selected yet
        {longFrame("73 FD 52 79 56 34 12 FF FF FF FF"), "E5", "selected mbus id 12345679 at 2"},
        {shortFrame(0x7B, 253), "@2", ""},
        {longFrame("53 FD 52 7F 56 34 12 FF FF FF FF"), "E5 E5", "at 1, mbus id 12345679 at 2"},
        {shortFrame(0x5B, 253), "@1 @2", ""},
        {longFrame("53 FD 52 FF FF FF FF 01 00 FF FF"), "", "no meter selected; deselected"},
        {shortFrame(0x5B, 253), "", ""},
        {longFrame("53 FD 52 80 FF FF FF 2D 4D 01 04"), "E5", "selected mbus id 12345680 at 3"},
        {longFrame("53 FD 56 12 34 56 78 4D 2D 01 04"), "E5", "deselected mbus id 12345680"},
        {longFrame("53 FD 51 01 7A 21"), "E5", "primary address 1 -> 33"},
        {shortFrame(0x5B, 33), "@33", ""},
        {shortFrame(0x40, 253), "E5", "deselected mbus id 12345678 at 33"},
        {shortFrame(0x5B, 253), "", ""},
        {longFrame("53 FD 52 FF FF FF FF FF FF 02 FF"), "", "no meter selected"},
        {longFrame("53 FD 52 FF FF FF FF FF FF FF 07"), "", "no meter selected"},
        {longFrame("53 FD 52 78 56 34 13 FF FF FF FF"), "", "no meter selected"},
        {longFrame("53 FD 52 FF FF FF FF FF FF FF 04"), "E5 E5 E5", "collision"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(toHex(step.request));
        auto exchanges = session.feed(step.request, kWhen);
        ASSERT_EQ(exchanges.size(), 1u);
        EXPECT_EQ(framesOf(exchanges[0]), step.frames);
        EXPECT_NE(exchanges[0].note.find(step.note), std::string::npos) << exchanges[0].note;
    }
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
                        "o",
                        "--cj188-heat-address",
                        "78339876543210",
                        "--mbus-meters",
                        "5"});
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
    EXPECT_EQ(formatCj188Address(o.sim.cj188Heat.address), "78339876543210");
    EXPECT_EQ(o.sim.mbusMeters, 5u);
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
    EXPECT_NE(errorOf({"--cj188-heat-address", "7833"}), "");
    EXPECT_NE(errorOf({"--mbus-meters", "0"}), "");
    EXPECT_NE(errorOf({"--mbus-meters", "251"}), "");
    // The last meter's address and identification number must still be valid.
    EXPECT_NE(errorOf({"--mbus-meters", "3", "--mbus-address", "249"}).find("--mbus-meters"),
              std::string::npos);
    EXPECT_EQ(errorOf({"--mbus-address", "248", "--mbus-meters", "3"}), "");
    EXPECT_NE(errorOf({"--mbus-id", "99999999", "--mbus-meters", "2"}), "");
    // The line is a pty, a device or a TCP port: one of them.
    EXPECT_NE(errorOf({"--tcp", "65536"}), "");
    EXPECT_NE(errorOf({"--tcp", "0", "--device", "/dev/ttyUSB0"}).find("--device"), std::string::npos);
    EXPECT_NE(errorOf({"--link", "/tmp/x", "--tcp", "0"}).find("--link"), std::string::npos);
}

}  // namespace
}  // namespace mb::sim
