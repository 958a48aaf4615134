// The exchange engine the window and the command line share, against the
// virtual meter in memory: every fault the meter can put on the line, run
// through one Exchange per request with the meter's own pauses as times,
// ends in the verdict it must. The window and the command line only show it.
#include "cj188/Cj188FieldRequests.h"
#include "cj188/Cj188Requests.h"
#include "core/Exchange.h"
#include "mbus/MbusFieldRequests.h"
#include "mbus/MbusRequests.h"
#include "sim_test_support.h"
#include "tools/sim/options.h"
#include "tools/sim/session.h"

namespace mb::sim {
namespace {

using namespace std::chrono_literals;
using Clock = mb::Exchange::Clock;

const DateTime kWhen{2026, 12, 7, 22, 0, 0};
const Cj188Fields kUntouchedCj188Page{"", "33", "78", " - 10H"};
constexpr auto kTimeout = 1000ms;

SimSettings settingsFor(std::vector<std::string> args) {
    auto parsed = parseOptions(args);
    EXPECT_TRUE(std::holds_alternative<Options>(parsed));
    return std::get<Options>(parsed).sim;
}

ExchangeRequest cj188Read() {
    TxBuffer tx{};
    const int last = buildCj188ReadData(tx, kUntouchedCj188Page);
    return cj188ReadDataExchange(Bytes(tx.begin(), tx.begin() + last + 1));
}

ExchangeRequest mbusRead(const char* address) {
    TxBuffer tx{};
    const int last = buildMbusReadData(tx, address);
    return mbusReadExchange(Bytes(tx.begin(), tx.begin() + last + 1));
}

// Hands the request to the meter and its planned output, chunk by chunk at
// the meter's pauses, to one exchange; then lets the timeout run out.
ExchangeResult run(Session& meter, const ExchangeRequest& request) {
    const Clock::time_point t0{};
    mb::Exchange::Timing timing;
    timing.firstByteWithin = timing.answerWithin = kTimeout;
    mb::Exchange exchange(request, timing, t0);
    Clock::duration now{};
    if (meter.echoes()) exchange.receive(request.bytes, t0);
    for (const auto& planned : meter.feed(request.bytes, kWhen)) {
        for (const Chunk& chunk : planned.plan) {
            now += std::chrono::milliseconds(chunk.pauseMs);
            exchange.elapse(t0 + now);
            exchange.receive(chunk.bytes, t0 + now);
        }
    }
    exchange.elapse(t0 + now + kTimeout + 1ms);
    return exchange.result();
}

struct FaultCase {
    const char* faults;
    Verdict verdict;
    const char* reason;
};

class EngineAgainstTheMeter : public testing::TestWithParam<FaultCase> {};

TEST_P(EngineAgainstTheMeter, EachFaultEndsInItsVerdictOnBothProtocols) {
    const FaultCase& c = GetParam();
    Session meter(settingsFor({"--fault", c.faults, "--delay-ms", c.faults == std::string("late") ? "400" : "1500"}));
    for (const ExchangeRequest& request : {cj188Read(), mbusRead("1")}) {
        const ExchangeResult r = run(meter, request);
        EXPECT_EQ(verdictName(r.verdict), verdictName(c.verdict)) << c.faults << " " << request.what;
        EXPECT_EQ(r.reason, c.reason) << c.faults;
        if (r.verdict != Verdict::Pass) continue;
        // The answer decoded is the meter's own: its address, a reply's control code.
        const Reading& reading = r.reading;
        EXPECT_TRUE(reading.checkPassed) << c.faults;
        EXPECT_FALSE(r.otherAddress) << c.faults << ": " << *r.otherAddress;
        EXPECT_EQ(r.frame[0], 0x68);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EngineAgainstTheMeter,
    testing::Values(FaultCase{"none", Verdict::Pass, ""}, FaultCase{"echo", Verdict::Pass, ""},
                    FaultCase{"noise", Verdict::Pass, ""}, FaultCase{"split", Verdict::Pass, ""},
                    FaultCase{"late", Verdict::Pass, ""},  // 400 ms: within the timeout
                    FaultCase{"flood", Verdict::Pass, ""},
                    FaultCase{"silent", Verdict::NoReply, ""},
                    FaultCase{"echo,silent", Verdict::NoReply, ""},
                    FaultCase{"bad-checksum", Verdict::Invalid, "checksum wrong"},
                    FaultCase{"split,noise,late", Verdict::Pass, ""}),
    [](const testing::TestParamInfo<FaultCase>& info) {
        std::string name = info.param.faults;
        for (char& ch : name)
            if (ch == '-' || ch == ',') ch = '_';
        return name;
    });

TEST(EngineAgainstTheMeter, LateBeyondTheTimeoutIsNoReplyThenALatePass) {
    Session meter(settingsFor({"--fault", "late", "--delay-ms", "1500"}));
    const Clock::time_point t0{};
    mb::Exchange::Timing timing;
    timing.firstByteWithin = timing.answerWithin = kTimeout;
    const ExchangeRequest request = mbusRead("1");
    mb::Exchange exchange(request, timing, t0);
    const auto planned = meter.feed(request.bytes, kWhen);
    ASSERT_EQ(planned.size(), 1u);
    EXPECT_TRUE(exchange.elapse(t0 + kTimeout));
    EXPECT_EQ(exchange.result().verdict, Verdict::NoReply);
    Clock::duration now{};
    bool late = false;
    for (const Chunk& chunk : planned[0].plan) {
        now += std::chrono::milliseconds(chunk.pauseMs);
        late = exchange.receive(chunk.bytes, t0 + now) || late;
    }
    EXPECT_TRUE(late);
    EXPECT_EQ(exchange.result().verdict, Verdict::Pass);
    EXPECT_TRUE(exchange.result().late);
}

TEST(EngineAgainstTheMeter, ModificationIdMovesTheMeterAndReadIdFindsIt) {
    Session meter(settingsFor({}));
    TxBuffer tx{};
    const int last = buildMbusModifyId(tx, "05");
    const ExchangeResult ack = run(meter, mbusAcknowledgedExchange(Bytes(tx.begin(), tx.begin() + last + 1), "set"));
    EXPECT_EQ(ack.verdict, Verdict::Acknowledged);
    EXPECT_EQ(run(meter, mbusRead("1")).verdict, Verdict::NoReply);
    EXPECT_EQ(run(meter, mbusRead("05")).verdict, Verdict::Pass);

    const ExchangeResult id = run(meter, cj188ReadAddressExchange(cj188ReadAddress(0x10)));
    ASSERT_EQ(id.verdict, Verdict::Pass);
    EXPECT_EQ(id.frame[9], 0x83);  // the read-address answer
}

}  // namespace
}  // namespace mb::sim
