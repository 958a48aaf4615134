#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/ReplyStatistics.h"
#include "core/ReplyVerdict.h"

namespace mb {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// Odd and even counts, equal times and outliers: the median, minimum and
// maximum after every pass against a sort of all times so far.
TEST(ReplyStatistics, MedianMinimumAndMaximumMatchASortAfterEveryPass) {
    std::mt19937 rng(188);
    // Narrow range so that equal times are common, wide so that heaps reorder.
    std::uniform_int_distribution<long long> replyTime(30000, 30050);
    std::uniform_int_distribution<long long> outlier(0, 2'000'000);
    ReplyStatistics stats;
    std::vector<long long> seen;
    for (int i = 0; i < 2001; ++i) {
        const long long us = (i % 17 == 0) ? outlier(rng) : replyTime(rng);
        stats.addPass(microseconds(us));
        seen.push_back(us);
        std::vector<long long> sorted = seen;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        const long long expected =
            n % 2 == 1 ? sorted[n / 2] : sorted[n / 2 - 1] + (sorted[n / 2] - sorted[n / 2 - 1]) / 2;
        ASSERT_EQ(stats.median()->count(), expected) << "after " << n << " passes";
        ASSERT_EQ(stats.minimum()->count(), sorted.front());
        ASSERT_EQ(stats.maximum()->count(), sorted.back());
    }
    EXPECT_EQ(stats.passes(), 2001u);
}

TEST(ReplyStatistics, CountsEachOutcomeAndResetForgetsEverything) {
    ReplyStatistics stats;
    for (int i = 0; i < 5; ++i) stats.addRequest();
    stats.addPass(milliseconds(40));
    stats.addPass(milliseconds(50));
    stats.addNoReply();
    stats.addInvalidReply();
    stats.addInvalidReply();
    EXPECT_EQ(stats.requests(), 5u);
    EXPECT_EQ(stats.passes(), 2u);
    EXPECT_EQ(stats.noReplies(), 1u);
    EXPECT_EQ(stats.invalidReplies(), 2u);
    EXPECT_EQ(*stats.median(), milliseconds(45));  // even count: the mean of the middle two

    stats.reset();
    EXPECT_EQ(stats.requests(), 0u);
    EXPECT_EQ(stats.passes(), 0u);
    EXPECT_EQ(stats.noReplies(), 0u);
    EXPECT_EQ(stats.invalidReplies(), 0u);
    EXPECT_FALSE(stats.minimum().has_value());
    EXPECT_FALSE(stats.median().has_value());
    EXPECT_FALSE(stats.maximum().has_value());

    // Times from before the reset leave no trace in the new tally.
    stats.addPass(milliseconds(90));
    EXPECT_EQ(*stats.minimum(), milliseconds(90));
    EXPECT_EQ(*stats.median(), milliseconds(90));
    EXPECT_EQ(*stats.maximum(), milliseconds(90));
}

TEST(ReplyStatistics, LineShowsCountsAndTimes) {
    ReplyStatistics stats;
    EXPECT_EQ(stats.line(), "Requests 0  Pass 0  No reply 0  Invalid 0  Reply min -  median -  max -");

    for (int i = 0; i < 4; ++i) stats.addRequest();
    stats.addNoReply();
    stats.addInvalidReply();
    EXPECT_EQ(stats.line(), "Requests 4  Pass 0  No reply 1  Invalid 1  Reply min -  median -  max -");

    stats.addPass(microseconds(61200));
    stats.addPass(microseconds(37600));
    stats.addPass(microseconds(42400));
    EXPECT_EQ(stats.line(), "Requests 4  Pass 3  No reply 1  Invalid 1  Reply min 38 ms  median 42 ms  max 61 ms");

    stats.reset();
    stats.addRequest();
    stats.addPass(microseconds(400));
    EXPECT_EQ(stats.line(), "Requests 1  Pass 1  No reply 0  Invalid 0  Reply min 0.4 ms  median 0.4 ms  max 0.4 ms");
}

TEST(ReplyVerdict, ReplyTimeInWholeMillisecondsOrTenthsBelowOne) {
    const std::pair<long long, const char*> cases[] = {
        {42000, "Reply in 42 ms"},  {42499, "Reply in 42 ms"}, {42500, "Reply in 43 ms"},
        {400, "Reply in 0.4 ms"},   {449, "Reply in 0.4 ms"},  {450, "Reply in 0.5 ms"},
        {0, "Reply in 0.0 ms"},     {949, "Reply in 0.9 ms"},  {950, "Reply in 1 ms"},
        {1499, "Reply in 1 ms"},    {2196250, "Reply in 2196 ms"},
    };
    for (const auto& [us, line] : cases) EXPECT_EQ(replyTimeLine(microseconds(us)), line) << us << " us";
}

TEST(ReplyVerdict, NoReplyAndInvalidReplyLines) {
    EXPECT_EQ(noReplyLine(milliseconds(2197)), "No reply within 2.2 s");
    EXPECT_EQ(noReplyLine(milliseconds(1000)), "No reply within 1 s");
    EXPECT_EQ(noReplyLine(milliseconds(1272)), "No reply within 1.3 s");
    EXPECT_EQ(noReplyLine(milliseconds(10570)), "No reply within 10.6 s");
    EXPECT_EQ(noReplyLine(milliseconds(400)), "No reply within 400 ms");

    EXPECT_EQ(invalidReplyLine(milliseconds(2197), 38, "checksum wrong"),
              "No valid reply within 2.2 s (38 bytes received, checksum wrong)");
    EXPECT_EQ(invalidReplyLine(milliseconds(2197), 1, "no start byte"),
              "No valid reply within 2.2 s (1 byte received, no start byte)");
    EXPECT_EQ(invalidReplyLine(milliseconds(1500), 0, ""), "No valid reply within 1.5 s (0 bytes received)");
}

TEST(ReplyVerdict, DefaultTimeoutIsOneSecondPlusTheLongestFrameOnTheLine) {
    struct Case {
        int baud;
        int dataBits;
        bool parity;
        double stopBits;
        std::size_t frameBytes;
        long long expectedMs;  // worked out by hand below
    };
    const Case cases[] = {
        // 261 bytes x 11 bits = 2871 bits / 2400 = 1196.25 ms -> 1197
        {2400, 8, true, 1, 261, 2197},
        // 261 x 10 = 2610 bits / 9600 = 271.875 ms -> 272
        {9600, 8, false, 1, 261, 1272},
        // 261 x 11 = 2871 bits / 300 = 9570 ms exactly: not rounded up to 9571
        {300, 8, true, 1, 261, 10570},
        // 7 data, parity, 2 stop: 11 bits as 8E1
        {2400, 7, true, 2, 261, 2197},
        // 100 x 10.5 = 1050 bits / 1200 = 875 ms
        {1200, 8, false, 1.5, 100, 1875},
        // 64 x 11 = 704 bits / 2400 = 293.33 ms -> 294
        {2400, 8, true, 1, 64, 1294},
        // nothing to send, or no baud rate: the meter's second alone
        {2400, 8, true, 1, 0, 1000},
        {0, 8, true, 1, 261, 1000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(defaultReplyTimeout(c.baud, c.dataBits, c.parity, c.stopBits, c.frameBytes).count(), c.expectedMs)
            << c.baud << " baud, " << c.frameBytes << " bytes";
    }
    EXPECT_EQ(noReplyLine(defaultReplyTimeout(2400, 8, true, 1, 261)), "No reply within 2.2 s");
}

}  // namespace
}  // namespace mb
