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

Bytes cj188Request(std::uint8_t type, const std::string& plate, std::uint8_t control,
                   std::uint8_t di0, std::uint8_t di1) {
    Bytes b{0x68, type};
    if (plate == "AA") {
        b.insert(b.end(), 7, 0xAA);
    } else {
        for (int pair = 6; pair >= 0; --pair)  // plate digits, A6 first; the line has A0 first
            b.push_back(static_cast<std::uint8_t>((plate[2 * pair] - '0') << 4 |
                                                  (plate[2 * pair + 1] - '0')));
    }
    for (std::uint8_t x : {control, std::uint8_t{3}, di0, di1, std::uint8_t{1}}) b.push_back(x);
    b.push_back(sum8(b, 0, b.size()));
    b.push_back(0x16);
    return b;
}

struct Cj188Route {
    const char* name;
    std::uint8_t type;
    const char* address;  // plate digits or "AA" for the wildcard
    bool readData;        // else Read Address
    const char* answeredBy;  // "water", "heat" or "" for nobody
};

class Cj188Routing : public testing::TestWithParam<Cj188Route> {};

TEST_P(Cj188Routing, EachRequestReachesTheRightMeter) {
    const Cj188Route& c = GetParam();
    Session session(parsed({"--cj188-address", "78330000000000"}).sim);
    const Bytes request = c.readData ? cj188Request(c.type, c.address, 0x01, 0x1F, 0x90)
                                     : cj188Request(c.type, c.address, 0x03, 0x0A, 0x81);
    auto exchanges = session.feed(request, kWhen);
    ASSERT_EQ(exchanges.size(), 1u);
    const std::string expected = c.answeredBy;
    if (expected.empty()) {
        EXPECT_FALSE(exchanges[0].answered);
        EXPECT_EQ(exchanges[0].what, "ignored cj188");
        return;
    }
    ASSERT_TRUE(exchanges[0].answered);
    ASSERT_EQ(exchanges[0].answeredBy.size(), 1u);
    EXPECT_EQ(exchanges[0].answeredBy[0].rfind("cj188 " + expected, 0), 0u)
        << exchanges[0].answeredBy[0];
    const Bytes& reply = exchanges[0].plan.at(0).bytes;
    ASSERT_TRUE(test::isGoodCj188(reply, 3)) << toHex(reply);
    EXPECT_EQ(reply[4], expected == "heat" ? 0x20 : 0x10) << "meter type of the reply";
    EXPECT_EQ(reply[5], expected == "heat" ? 0x01 : 0x00) << "A0 of the reply";
    if (c.readData) EXPECT_EQ(reply[13], expected == "heat" ? 0x2E : 0x16) << "data length";
}

INSTANTIATE_TEST_SUITE_P(
    HeatBesideWater, Cj188Routing,
    testing::Values(Cj188Route{"WaterByTypeAndAddress", 0x10, "78330000000000", true, "water"},
                    Cj188Route{"HeatByTypeAndAddress", 0x20, "78330000000001", true, "heat"},
                    Cj188Route{"HeatByAnyTypeAndItsAddress", 0xAA, "78330000000001", true, "heat"},
                    Cj188Route{"WildcardsReachTheWaterMeter", 0xAA, "AA", true, "water"},
                    Cj188Route{"ReadAddressWildcardIsWater", 0xAA, "AA", false, "water"},
                    Cj188Route{"ReadAddressType20IsHeat", 0x20, "AA", false, "heat"},
                    Cj188Route{"HeatTypeAtWaterAddress", 0x20, "78330000000000", true, ""},
                    Cj188Route{"WaterTypeAtHeatAddress", 0x10, "78330000000001", true, ""}),
    [](const testing::TestParamInfo<Cj188Route>& info) { return std::string(info.param.name); });

// --- several M-Bus meters on one line ---------------------------------------

Bytes shortFrame(std::uint8_t control, std::uint8_t address) {
    return Bytes{0x10, control, address, static_cast<std::uint8_t>(control + address), 0x16};
}

// SND_UD to 253 with CI 52 (fields LSB first) or 56 (MSB first) and an 8-byte mask.
Bytes select(const std::string& mask, std::uint8_t ci = 0x52) {
    Bytes b{0x68, 0x0B, 0x0B, 0x68, 0x73, 0xFD, ci};
    const Bytes m = hex(mask);
    b.insert(b.end(), m.begin(), m.end());
    b.push_back(sum8(b, 4, b.size()));
    b.push_back(0x16);
    return b;
}

// What went on the line, frame by frame: "E5", or "RSP@A" for an RSP_UD from address A.
std::vector<std::string> framesOf(const Exchange& e) {
    Bytes out;
    for (const Chunk& c : e.plan) out.insert(out.end(), c.bytes.begin(), c.bytes.end());
    std::vector<std::string> frames;
    for (std::size_t at = 0; at < out.size();) {
        if (out[at] == 0xE5) {
            frames.push_back("E5");
            ++at;
            continue;
        }
        const std::size_t size = out[at + 1] + 6u;
        const Bytes frame(out.begin() + at, out.begin() + std::min(out.size(), at + size));
        EXPECT_TRUE(test::isGoodMbusLong(frame)) << toHex(frame);
        frames.push_back("RSP@" + std::to_string(frame[5]));
        at += size;
    }
    return frames;
}

struct BusStep {
    const char* what;
    Bytes request;
    std::vector<std::string> frames;  // what the line carries back
    const char* note;                 // a part of the exchange's note, or "" for any
};

TEST(SessionMbusLine, ThreeMetersAnswerByPrimaryAndSecondaryAddress) {
    // Meters at 1, 2, 3 with ids 12345678, 12345679, 12345680, all "SIM", version 01, heat.
    Session session(parsed({"--mbus-meters", "3"}).sim);
    const std::vector<BusStep> steps{
        {"own address", shortFrame(0x7B, 2), {"RSP@2"}, ""},
        {"254 collides", shortFrame(0x5B, 254), {"RSP@1", "RSP@2", "RSP@3"}, "collision: 3"},
        {"snd-nke own", shortFrame(0x40, 3), {"E5"}, ""},
        {"snd-nke 254 collides", shortFrame(0x40, 254), {"E5", "E5", "E5"}, "collision"},
        {"253 before any selection", shortFrame(0x5B, 253), {}, ""},
        {"select exact id", select("79 56 34 12 FF FF FF FF"), {"E5"},
         "selected mbus id 12345679 at 2"},
        {"253 reaches the selected", shortFrame(0x7B, 253), {"RSP@2"}, ""},
        {"wildcard digit selects two", select("7F 56 34 12 FF FF FF FF"), {"E5", "E5"},
         "selected mbus id 12345678 at 1, mbus id 12345679 at 2"},
        {"253 collides among selected", shortFrame(0x5B, 253), {"RSP@1", "RSP@2"}, ""},
        {"other manufacturer deselects", select("FF FF FF FF 01 00 FF FF"), {},
         "no meter selected; deselected mbus id 12345678 at 1, mbus id 12345679 at 2"},
        {"253 after deselection", shortFrame(0x5B, 253), {}, ""},
        {"high digits wildcard", select("80 FF FF FF 2D 4D 01 04"), {"E5"},
         "selected mbus id 12345680 at 3"},
        {"msb-first selection", select("12 34 56 78 4D 2D 01 04", 0x56), {"E5"},
         "selected mbus id 12345678 at 1; deselected mbus id 12345680 at 3"},
        {"snd-nke 253 answers and deselects", shortFrame(0x40, 253), {"E5"},
         "deselected mbus id 12345678 at 1"},
        {"253 after snd-nke", shortFrame(0x5B, 253), {}, ""},
        {"other version", select("FF FF FF FF FF FF 02 FF"), {}, "no meter selected"},
        {"other medium", select("FF FF FF FF FF FF FF 07"), {}, "no meter selected"},
        {"other leading digits", select("78 56 34 13 FF FF FF FF"), {}, "no meter selected"},
        {"medium heat selects all", select("FF FF FF FF FF FF FF 04"), {"E5", "E5", "E5"},
         "collision"},
    };
    for (const BusStep& step : steps) {
        auto exchanges = session.feed(step.request, kWhen);
        ASSERT_EQ(exchanges.size(), 1u) << step.what;
        const Exchange& e = exchanges[0];
        EXPECT_EQ(framesOf(e), step.frames) << step.what;
        EXPECT_EQ(e.answeredBy.size(), step.frames.size()) << step.what;
        EXPECT_NE(e.note.find(step.note), std::string::npos) << step.what << ": " << e.note;
    }
}

TEST(SessionMbusLine, SetAddressThroughTheSelectionMovesOnlyTheSelectedMeter) {
    Session session(parsed({"--mbus-meters", "2", "--mbus-address", "7", "--mbus-id", "00000019"}).sim);
    ASSERT_EQ(session.mbusMeters().size(), 2u);
    EXPECT_EQ(session.mbusMeters()[1].settings().identNumber, 20u);
    EXPECT_EQ(session.mbusMeters()[1].primaryAddress(), 8);
    session.feed(select("20 00 00 00 FF FF FF FF"), kWhen);
    Bytes setAddress{0x68, 0x06, 0x06, 0x68, 0x53, 0xFD, 0x51, 0x01, 0x7A, 0x21};
    setAddress.push_back(sum8(setAddress, 4, setAddress.size()));
    setAddress.push_back(0x16);
    auto exchanges = session.feed(setAddress, kWhen);
    ASSERT_EQ(exchanges.size(), 1u);
    EXPECT_EQ(framesOf(exchanges[0]), std::vector<std::string>{"E5"});
    EXPECT_EQ(exchanges[0].note, "primary address 8 -> 33");
    EXPECT_EQ(session.mbusMeters()[0].primaryAddress(), 7);
    EXPECT_EQ(framesOf(session.feed(shortFrame(0x5B, 33), kWhen).at(0)),
              std::vector<std::string>{"RSP@33"});
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
    EXPECT_EQ(formatCj188Address(o.sim.cj188Heat.address), "78330000000001");
    EXPECT_EQ(o.sim.cj188Heat.meterType, 0x20);
    EXPECT_EQ(o.sim.mbusMeters, 1u);
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
}

}  // namespace
}  // namespace mb::sim
