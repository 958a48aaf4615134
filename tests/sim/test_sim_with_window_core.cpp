// The window's protocol core (request builders, receive ring, reply parsers)
// against the virtual meter, in memory: every answer the meter gives must be
// one the window accepts, and every fault must have the effect it claims.
#include "cj188/Cj188Operations.h"
#include "mbus/MbusOperations.h"
#include "core/ProtocolCore.h"
#include "sim_test_support.h"
#include "tools/sim/options.h"
#include "tools/sim/session.h"

namespace mb::sim {
namespace {

const DateTime kWhen{2026, 12, 7, 22, 0, 0};
const Cj188Fields kUntouchedCj188Page{"", "33", "78", " - 10H"};

struct Outcome {
    bool answered = false;
    bool checkPass = false;
    std::size_t passChunk = 0;  // index of the chunk at which "Check Pass！" came
    Bytes received;
};

// Hands the request to the meter and its planned output to the window, chunk by chunk.
Outcome exchange(ProtocolCore& window, Session& meter, const Transmission& request) {
    Outcome outcome;
    // With the echo fault the line hands the request back, whole, before any answer.
    if (meter.echoes()) {
        outcome.received = request.bytes;
        outcome.checkPass = window.onReceived(request.bytes).checkPass;
    }
    for (const Exchange& e : meter.feed(request.bytes, kWhen)) {
        outcome.answered = outcome.answered || e.answered;
        for (std::size_t i = 0; i < e.plan.size(); ++i) {
            const Bytes& chunk = e.plan[i].bytes;
            outcome.received.insert(outcome.received.end(), chunk.begin(), chunk.end());
            if (window.onReceived(chunk).checkPass && !outcome.checkPass) {
                outcome.checkPass = true;
                outcome.passChunk = i;
            }
        }
    }
    return outcome;
}

SimSettings settingsFor(std::vector<std::string> args) {
    auto parsed = parseOptions(args);
    EXPECT_TRUE(std::holds_alternative<Options>(parsed));
    return std::get<Options>(parsed).sim;
}

TEST(SimWithWindowCore, UntouchedFieldsReadBothMetersWithCheckPass) {
    ProtocolCore window;
    Session meter(settingsFor({}));
    Outcome cj188 = exchange(window, meter, mb::cj188ReadData(window, kUntouchedCj188Page));
    EXPECT_TRUE(cj188.answered);
    EXPECT_TRUE(cj188.checkPass) << toHex(cj188.received);

    Outcome mbus = exchange(window, meter, mb::mbusReadData(window, "1"));
    EXPECT_TRUE(mbus.answered);
    EXPECT_TRUE(mbus.checkPass) << toHex(mbus.received);
    EXPECT_EQ(window.replyShape(), nullptr);
}

TEST(SimWithWindowCore, ReadIdIsAnsweredButPassesOnlyAfterAnUnansweredReadData) {
    ProtocolCore window;
    Session meter(settingsFor({}));
    Outcome fresh = exchange(window, meter, mb::cj188ReadId(window, " - 10H"));
    ASSERT_TRUE(fresh.answered);
    EXPECT_FALSE(fresh.checkPass) << "no parser is armed";
    EXPECT_EQ(Bytes(fresh.received.begin() + 3, fresh.received.begin() + 12),
              test::hex("68 10 00 00 00 00 00 33 78"));

    // Read Data for another meter gets no answer and leaves the CJ188 parser armed.
    Outcome other = exchange(window, meter, mb::cj188ReadData(window, {"42", "33", "78", " - 10H"}));
    EXPECT_FALSE(other.answered);
    Outcome armed = exchange(window, meter, mb::cj188ReadId(window, " - 10H"));
    EXPECT_TRUE(armed.checkPass);
}

TEST(SimWithWindowCore, ModificationIdMovesTheMeterToItsNewAddress) {
    ProtocolCore window;
    Session meter(settingsFor({}));
    Outcome ack = exchange(window, meter, mb::mbusModifyId(window, "05"));
    EXPECT_EQ(ack.received, Bytes{0xE5});
    EXPECT_FALSE(exchange(window, meter, mb::mbusReadData(window, "1")).answered);
    EXPECT_TRUE(exchange(window, meter, mb::mbusReadData(window, "05")).checkPass);
}

struct FaultCase {
    const char* faults;
    bool cj188Passes;
    bool mbusPasses;
};

class SimFaultsWithWindowCore : public testing::TestWithParam<FaultCase> {};

TEST_P(SimFaultsWithWindowCore, EachFaultHasItsEffectOnTheWindow) {
    const FaultCase& c = GetParam();
    ProtocolCore window;
    Session meter(settingsFor({"--fault", c.faults}));
    Outcome cj188 = exchange(window, meter, mb::cj188ReadData(window, kUntouchedCj188Page));
    EXPECT_TRUE(cj188.answered);
    EXPECT_EQ(cj188.checkPass, c.cj188Passes) << toHex(cj188.received);

    ProtocolCore window2;
    Outcome mbus = exchange(window2, meter, mb::mbusReadData(window2, "1"));
    EXPECT_EQ(mbus.checkPass, c.mbusPasses) << toHex(mbus.received);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimFaultsWithWindowCore,
    testing::Values(FaultCase{"none", true, true}, FaultCase{"bad-checksum", false, false},
                    FaultCase{"split", true, true}, FaultCase{"noise", true, true},
                    FaultCase{"silent", false, false}, FaultCase{"late", true, true},
                    // The CJ188 request coming back is itself a CJ188 frame with a good
                    // checksum; the M-Bus short frame is not a long frame.
                    FaultCase{"echo", true, true}, FaultCase{"echo,bad-checksum", true, false},
                    FaultCase{"split,noise,late", true, true}),
    [](const testing::TestParamInfo<FaultCase>& info) {
        std::string name = info.param.faults;
        for (char& ch : name)
            if (ch == '-' || ch == ',') ch = '_';
        return name;
    });

TEST(SimWithWindowCore, SplitReplyPassesAtTheChunkCarryingTheChecksum) {
    ProtocolCore window;
    Session meter(settingsFor({"--fault", "split", "--split-bytes", "3"}));
    Outcome cj188 = exchange(window, meter, mb::cj188ReadData(window, kUntouchedCj188Page));
    ASSERT_TRUE(cj188.checkPass);
    EXPECT_EQ(cj188.passChunk, (cj188.received.size() - 2) / 3);

    Outcome mbus = exchange(window, meter, mb::mbusReadData(window, "1"));
    ASSERT_TRUE(mbus.checkPass);
    EXPECT_EQ(mbus.passChunk, (mbus.received.size() - 2) / 3);
}

}  // namespace
}  // namespace mb::sim
