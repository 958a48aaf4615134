#include <gtest/gtest.h>

#include "core/ReplyVerdict.h"
#include "core/ReplyWatch.h"

namespace mb {
namespace {

using std::chrono::milliseconds;
const ReplyWatch::Clock::time_point t0{};

// What each request of a continuous reading came to, and the tally it gives.
struct TallyCase {
    const char* name;
    std::vector<int> outcomes;  // >= 0: passed after that many ms; -1: silent; -2: bytes, no pass
    const char* tallyStart;
};

TEST(ReplyWatch, TallyCountsEachRequestOnceWhenTheNextOneGoesOut) {
    const TallyCase cases[] = {
        {"all pass", {40, 42, 61}, "Requests 3  Pass 3  No reply 0  Invalid 0"},
        {"silent, then garbage", {-1, -2, 38}, "Requests 3  Pass 1  No reply 1  Invalid 1"},
        {"last one still open", {40, -1}, "Requests 2  Pass 1  No reply 0  Invalid 0"},
    };
    for (const TallyCase& c : cases) {
        ReplyWatch watch;
        watch.startStatistics();
        auto now = t0;
        for (int outcome : c.outcomes) {
            watch.start(now, milliseconds(2200));
            if (outcome == -2) watch.bytesArrived(5);
            if (outcome >= 0) watch.passed(now + milliseconds(outcome));
            now += milliseconds(1000);
        }
        EXPECT_EQ(watch.statisticsLine().value_or("").rfind(c.tallyStart, 0), 0u)
            << c.name << ": " << watch.statisticsLine().value_or("");
    }
}

TEST(ReplyWatch, VerdictLines) {
    ReplyWatch watch;
    EXPECT_EQ(watch.statisticsLine(), std::nullopt) << "no tally before a Start";
    watch.start(t0, milliseconds(2200));
    EXPECT_EQ(watch.timeoutLine("checksum wrong"), "No reply within 2.2 s");
    watch.bytesArrived(38);
    EXPECT_EQ(watch.timeoutLine("checksum wrong"),
              "No valid reply within 2.2 s (38 bytes received, checksum wrong)");
    EXPECT_EQ(watch.passed(t0 + milliseconds(2500)), "Reply in 2500 ms") << "late still passes";
    EXPECT_EQ(watch.timeoutLine("x"), "");
    EXPECT_EQ(watch.passed(t0 + milliseconds(2600)), "") << "one verdict per request";
    watch.cancel();
    EXPECT_EQ(watch.passed(t0), "") << "an unjudged request is not timed";
}

// A pty or a fast adapter answers within a millisecond: the time from the
// request to the completing byte keeps its microseconds all the way to the
// line and the tally ("0.4 ms", not "0.0 ms"; 1.6 ms rounds to 2, not 1).
TEST(ReplyWatch, SubMillisecondReplyTimesKeepTheirTenths) {
    using std::chrono::microseconds;
    ReplyWatch watch;
    watch.startStatistics();
    const std::pair<long long, const char*> replies[] = {
        {400, "Reply in 0.4 ms"}, {1600, "Reply in 2 ms"}, {70, "Reply in 0.1 ms"}};
    for (const auto& [us, line] : replies) {
        watch.start(t0, milliseconds(100));
        EXPECT_EQ(watch.passed(t0 + microseconds(us)), line) << us << " us";
    }
    EXPECT_EQ(*watch.statisticsLine(),
              "Requests 3  Pass 3  No reply 0  Invalid 0  Reply min 0.1 ms  median 0.4 ms  max 2 ms");
}

TEST(ReplyWatch, StopFreezesTheTallyAndStartResetsIt) {
    ReplyWatch watch;
    watch.startStatistics();
    watch.start(t0, milliseconds(100));
    watch.passed(t0 + milliseconds(10));
    watch.stopStatistics();
    const std::string frozen = *watch.statisticsLine();
    watch.start(t0, milliseconds(100));  // a single Read Data after Stop
    watch.start(t0, milliseconds(100));
    EXPECT_EQ(*watch.statisticsLine(), frozen);
    watch.startStatistics();
    EXPECT_EQ(watch.statisticsLine()->rfind("Requests 0  Pass 0", 0), 0u);
}

}  // namespace
}  // namespace mb

namespace mb {
namespace {

// A request is timed from when its last byte has left the line: 19 bytes of
// 11 bits (start, 8 data, parity, stop) at 2400 baud take 87.083 ms.
TEST(ReplyWatch, LineTimeOfARequest) {
    EXPECT_EQ(lineTime(2400, 8, true, 1, 19), std::chrono::microseconds(87083));
    EXPECT_EQ(lineTime(9600, 8, false, 2, 5), std::chrono::microseconds(5729));
    EXPECT_EQ(lineTime(0, 8, true, 1, 19), std::chrono::microseconds(0)) << "no line speed known";
}

}  // namespace
}  // namespace mb
