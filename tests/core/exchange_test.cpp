// An exchange's timing and its one result, with times given by the test.
#include <gtest/gtest.h>

#include "core/Exchange.h"
#include "core/ExchangeTally.h"
#include "core/ExchangeText.h"
#include "cj188/Cj188Requests.h"
#include "mbus/MbusRequests.h"
#include "tests/support/core/HexBytes.h"

namespace mb {
namespace {

using namespace std::chrono_literals;
using test::HexBytes;
using Bytes = std::vector<std::uint8_t>;
using Clock = Exchange::Clock;

const Bytes kMbusAnswer = HexBytes("68 03 03 68 08 01 72 7B 16");
const Clock::time_point t0{};

Exchange::Timing timing() {
    Exchange::Timing t;
    t.firstByteWithin = 1000ms;
    t.answerWithin = 2000ms;
    t.requestOnLine = 21ms;  // five bytes at 2400 baud, 11 bits each
    t.quietGap = 20ms;
    return t;
}

TEST(Exchange, EndsWithOneVerdictAtTheRightMoment) {
    struct Case {
        const char* what;
        std::vector<std::pair<Clock::duration, Bytes>> arrivals;
        Clock::duration endsAt;  // when elapse() first ends it (or when a byte did)
        Verdict verdict;
        std::string reason;
    };
    const Bytes echo = mbusReqUd2(1);
    const Case cases[] = {
        {"answer", {{121ms, kMbusAnswer}}, 121ms, Verdict::Pass, ""},
        {"silent", {}, 1021ms, Verdict::NoReply, ""},
        {"echo only", {{1ms, echo}}, 1021ms, Verdict::NoReply, ""},
        {"half an answer", {{100ms, Bytes(kMbusAnswer.begin(), kMbusAnswer.begin() + 4)}}, 2021ms,
         Verdict::Invalid, "frame incomplete"},
        {"late beyond the timeout", {{2500ms, kMbusAnswer}}, 1021ms, Verdict::NoReply, ""},
    };
    for (const Case& c : cases) {
        Exchange exchange(mbusReadExchange(mbusReqUd2(1)), timing(), t0);
        Clock::duration ended{};
        bool done = false;
        for (Clock::duration now = 0ms; now <= 3000ms && !done; now += 1ms) {
            for (const auto& [at, bytes] : c.arrivals)
                if (at == now && exchange.receive(bytes, t0 + now)) done = true;
            if (!done && exchange.elapse(t0 + now)) done = true;
            if (done) ended = now;
        }
        ASSERT_TRUE(done) << c.what;
        EXPECT_EQ(ended, c.endsAt) << c.what;
        EXPECT_EQ(exchange.result().verdict, c.verdict) << c.what;
        EXPECT_EQ(exchange.result().reason, c.reason) << c.what;
    }
}

TEST(Exchange, ReplyTimeCountsFromTheRequestsLastByteOnTheLine) {
    Exchange exchange(mbusReadExchange(mbusReqUd2(1)), timing(), t0);
    ASSERT_TRUE(exchange.receive(kMbusAnswer, t0 + 21ms + 350us));
    EXPECT_EQ(exchange.result().replyTime, 350us);
    const std::vector<std::string> lines = resultLines(exchange.result());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Check Pass\xEF\xBC\x81");
    EXPECT_EQ(lines[1], "Reply in 0.4 ms");  // under a millisecond, to a tenth
}

// The meter's reaction ends at the answer's first byte (the echo does not
// count), the reply time at its last.
TEST(Exchange, FirstByteTimeIsTheReactionPastTheEcho) {
    Exchange exchange(mbusReadExchange(mbusReqUd2(1)), timing(), t0);
    EXPECT_FALSE(exchange.receive(mbusReqUd2(1), t0 + 22ms));  // the echo
    EXPECT_FALSE(exchange.receive(Bytes(kMbusAnswer.begin(), kMbusAnswer.begin() + 4), t0 + 121ms));
    ASSERT_TRUE(exchange.receive(Bytes(kMbusAnswer.begin() + 4, kMbusAnswer.end()), t0 + 140ms));
    EXPECT_EQ(exchange.result().firstByteTime, 100ms);
    EXPECT_EQ(exchange.result().replyTime, 119ms);
}

// A pty or a fast adapter answers within a millisecond: the reply time keeps
// its microseconds to the line and the tally ("0.4 ms", not "0.0 ms"; 1.6 ms
// rounds to 2, not 1).
TEST(Exchange, SubMillisecondReplyTimesKeepTheirTenths) {
    ExchangeTally tally;
    tally.start();
    const std::pair<long long, const char*> replies[] = {
        {400, "Reply in 0.4 ms"}, {1600, "Reply in 2 ms"}, {70, "Reply in 0.1 ms"}};
    for (const auto& [us, line] : replies) {
        Exchange exchange(mbusReadExchange(mbusReqUd2(1)), timing(), t0);
        tally.requestSent();
        ASSERT_TRUE(exchange.receive(kMbusAnswer, t0 + 21ms + std::chrono::microseconds(us)));
        EXPECT_EQ(resultLines(exchange.result()).at(1), line) << us << " us";
        tally.add(exchange.result());
    }
    EXPECT_EQ(*tally.line(),
              "Requests 3  Pass 3  No reply 0  Invalid 0  Reply min 0.1 ms  median 0.4 ms  max 2 ms");
}

TEST(Exchange, LateAnswerAfterTheTimeoutStillPassesAndIsCountedOnce) {
    ExchangeTally tally;
    tally.start();
    Exchange exchange(mbusReadExchange(mbusReqUd2(1)), timing(), t0);
    tally.requestSent();
    ASSERT_TRUE(exchange.elapse(t0 + 1021ms));
    tally.add(exchange.result());
    EXPECT_EQ(tally.statistics().noReplies(), 1u);
    ASSERT_TRUE(exchange.receive(kMbusAnswer, t0 + 3021ms));
    EXPECT_EQ(exchange.result().verdict, Verdict::Pass);
    EXPECT_TRUE(exchange.result().late);
    EXPECT_EQ(exchange.result().replyTime, 3000ms);
    tally.add(exchange.result());
    EXPECT_EQ(tally.statistics().requests(), 1u);
    EXPECT_EQ(tally.statistics().noReplies(), 0u);
    EXPECT_EQ(tally.statistics().passes(), 1u);
}

// Stop comes while a request is on its way: that request was counted, so its
// outcome is too, and the tally adds up; a read after that is not counted.
TEST(Exchange, TallyCountsTheOutcomeOfTheRequestInFlightAtStop) {
    ExchangeTally tally;
    tally.start();
    ExchangeResult pass;
    pass.verdict = Verdict::Pass;
    pass.replyTime = 40ms;
    ExchangeResult silent;
    silent.verdict = Verdict::NoReply;
    tally.requestSent();
    tally.add(pass);
    tally.requestSent();
    tally.stop();
    tally.add(silent);
    tally.add(pass);
    EXPECT_EQ(*tally.line(),
              "Requests 2  Pass 1  No reply 1  Invalid 0  Reply min 40 ms  median 40 ms  max 40 ms");
}

TEST(Exchange, SeveralMayAnswerWaitsAQuietGapThenJudges) {
    const ExchangeRequest any = mbusAcknowledgedExchange(mbusSetAddress(254, 5), "set");
    Exchange single(any, timing(), t0);
    EXPECT_FALSE(single.receive(HexBytes("E5"), t0 + 50ms));
    EXPECT_EQ(single.deadline(), t0 + 70ms);
    EXPECT_FALSE(single.elapse(t0 + 69ms));
    ASSERT_TRUE(single.elapse(t0 + 70ms));
    EXPECT_EQ(single.result().verdict, Verdict::Acknowledged);
    EXPECT_EQ(resultLines(single.result()).front(), "Acknowledged (E5)");

    Exchange two(any, timing(), t0);
    two.receive(HexBytes("E5"), t0 + 50ms);
    two.receive(HexBytes("E5"), t0 + 60ms);
    ASSERT_TRUE(two.elapse(t0 + 80ms));
    EXPECT_EQ(two.result().verdict, Verdict::Collision);
}

TEST(Exchange, SupersededByTheNextRequestEndsNow) {
    Exchange exchange(mbusReadExchange(mbusReqUd2(1)), timing(), t0);
    exchange.receive(HexBytes("68 03"), t0 + 300ms);
    exchange.supersede();
    ASSERT_TRUE(exchange.finished());
    EXPECT_TRUE(exchange.result().superseded);
    EXPECT_EQ(exchange.result().verdict, Verdict::Invalid);
    EXPECT_EQ(exchange.unjudgedBytes(), HexBytes("68 03"));
}

TEST(ExchangeText, EachVerdictSaysWhatHappenedAndOnlyADataPassSaysCheckPass) {
    auto result = [](Verdict v, Awaits awaits, Bytes frame) {
        ExchangeResult r;
        r.verdict = v;
        r.request.awaits = awaits;
        r.frame = std::move(frame);
        r.timeout = 2200ms;
        r.bytesSeen = 38;
        r.reason = v == Verdict::Invalid ? "checksum wrong" : "";
        if (v == Verdict::Pass || v == Verdict::Acknowledged) r.replyTime = 42ms;
        return r;
    };
    const std::pair<ExchangeResult, const char*> cases[] = {
        {result(Verdict::Pass, Awaits::Reading, kMbusAnswer), "Check Pass\xEF\xBC\x81"},
        {result(Verdict::Pass, Awaits::Address, kMbusAnswer), "Address found"},
        {result(Verdict::Acknowledged, Awaits::Acknowledge, {0xE5}), "Acknowledged (E5)"},
        {result(Verdict::NoReply, Awaits::Reading, {}), "No reply within 2.2 s"},
        {result(Verdict::Invalid, Awaits::Reading, {}),
         "No valid reply within 2.2 s (38 bytes received, checksum wrong)"},
        {result(Verdict::Collision, Awaits::Reading, {}),
         "Collision: more than one meter answered (38 bytes received)"},
    };
    for (const auto& [r, first] : cases) {
        const std::vector<std::string> lines = resultLines(r);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), first);
    }
    EXPECT_EQ(resultSummary(cases[0].first), "pass, Reply in 42 ms");
}

}  // namespace
}  // namespace mb
