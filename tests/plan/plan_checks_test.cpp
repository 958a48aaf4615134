// The plan's judgement on an answer the engine passed: who answered, the
// ranges (bounds included, the storage asked for) and the meter's reaction.
#include <gtest/gtest.h>

#include "plan/PlanChecks.h"
#include "plan/Reports.h"

namespace mb::plan {
namespace {

using namespace std::chrono_literals;

Record record(const char* quantity, double value, std::uint64_t storage = 0) {
    Record r;
    r.quantity = quantity;
    r.unit = "Wh";
    r.value = value;
    r.storage = storage;
    return r;
}

ExchangeResult passedRead() {
    ExchangeResult r;
    r.verdict = Verdict::Pass;
    r.firstByteTime = 120ms;
    r.reading.protocol = "mbus";
    r.reading.header = {{"id", "Identification", std::string("12345678")},
                        {"manufacturer", "Manufacturer", std::string("SIM")},
                        {"version", "Version", std::int64_t{1}}};
    r.reading.records = {record("Energy", 5000), record("Energy", 4000, 1)};
    return r;
}

TEST(PlanChecks, IdentificationRangesAndReaction) {
    struct Case {
        const char* what;
        Meter meter;
        const char* kind;    // nullptr: passes
        const char* reason;  // part of it
    };
    const auto meter = [](Expect e, std::vector<Range> ranges = {}, std::optional<int> maxMs = {}) {
        Meter m;
        m.expect = std::move(e);
        m.ranges = std::move(ranges);
        m.maxReplyMs = maxMs;
        return m;
    };
    const Case cases[] = {
        {"all as expected", meter({"12345678", "SIM", 1, ""}, {{"Energy", 5000, 5000, 0}}, 120), nullptr, ""},
        {"another id", meter({"12345679", "", {}, ""}), "wrong-id", "id '12345678', expected '12345679'"},
        {"another maker", meter({"", "ABC", {}, ""}), "wrong-id", "manufacturer 'SIM', expected 'ABC'"},
        {"another version", meter({"", "", 2, ""}), "wrong-id", "version '1', expected '2'"},
        {"no medium in the header", meter({"", "", {}, "Water"}), "wrong-id", "medium missing"},
        {"below", meter({}, {{"Energy", 5001, {}, 0}}), "out-of-range", "Energy 5000 Wh below the minimum 5001"},
        {"above", meter({}, {{"Energy", {}, 4999.5, 0}}), "out-of-range", "above the maximum 4999.5"},
        {"the storage asked for", meter({}, {{"Energy", {}, 4000, 1}}), nullptr, ""},
        {"a storage not there", meter({}, {{"Energy", 0, {}, 2}}), "out-of-range", "no Energy (storage 2) value"},
        {"a quantity not there", meter({}, {{"Volume", 0, {}, 0}}), "out-of-range", "no Volume value"},
        {"too slow", meter({}, {}, 119), "too-slow", "first byte after 120.0 ms, max_reply_ms is 119"},
    };
    for (const Case& c : cases) {
        const auto failure = judgeRead(c.meter, passedRead());
        if (!c.kind) {
            EXPECT_FALSE(failure) << c.what << ": " << failure->reason;
            continue;
        }
        ASSERT_TRUE(failure) << c.what;
        EXPECT_EQ(failure->kind, c.kind) << c.what;
        EXPECT_NE(failure->reason.find(c.reason), std::string::npos) << c.what << ": " << failure->reason;
    }
}

// The engine's verdict comes first: a collision is never judged as a reading.
TEST(PlanChecks, EngineVerdictsBeforeTheReading) {
    const std::pair<Verdict, const char*> cases[] = {{Verdict::NoReply, "no-reply"}, {Verdict::Invalid, "invalid"},
                                                     {Verdict::Collision, "collision"},
                                                     {Verdict::MeterError, "meter-error"}, {Verdict::NotSent, "not-sent"}};
    for (const auto& [verdict, kind] : cases) {
        ExchangeResult r = passedRead();
        r.verdict = verdict;
        const auto failure = judgeRead(Meter{}, r);
        ASSERT_TRUE(failure) << kind;
        EXPECT_EQ(failure->kind, kind);
        EXPECT_EQ(failure->lineError, verdict == Verdict::NotSent) << kind;
    }
    ExchangeResult other = passedRead();
    other.otherAddress = "Answered by primary address 2 (asked 1)";
    EXPECT_EQ(judgeRead(Meter{}, other)->kind, "wrong-id");
}

// What a line said reaches the reports as text, never as markup or a broken row.
TEST(PlanReports, EscapeWhatTheLineSaid) {
    PlanResult result;
    result.name = "batch <1>";
    result.lines.push_back({"a", "/dev/x", {}, 1, std::nullopt});
    StepResult s;
    s.meter = "m1";
    s.step = "read";
    s.outcome = Outcome::Failed;
    s.kind = "invalid";
    s.reason = "said \"hi\", <x> & y\x01\nz";
    result.lines[0].steps.push_back(s);
    const std::string xml = junitReport(result);
    EXPECT_NE(xml.find("message=\"said &quot;hi&quot;, &lt;x&gt; &amp; y&#10;z\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<testsuites name=\"batch &lt;1&gt;\" tests=\"1\" failures=\"1\" errors=\"0\" skipped=\"0\""),
              std::string::npos);
    EXPECT_EQ(xml.find('\x01'), std::string::npos);
    const std::string csv = csvReport(result);
    EXPECT_NE(csv.find(",\"said \"\"hi\"\", <x> & y\x01\nz\","), std::string::npos) << csv;
    EXPECT_NE(htmlReport(result).find("said &quot;hi&quot;, &lt;x&gt; &amp; y"), std::string::npos);
}

}  // namespace
}  // namespace mb::plan
