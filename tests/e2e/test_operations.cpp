// Every request of both pages against the virtual meter: what the meter read,
// what the window shows, and each fault the meter can put on the line.
#include <gtest/gtest.h>

#include "cj188/Cj188ReplyParser.h"
#include "mbus/MbusLongFrameParser.h"
#include "tests/e2e/MeterBench.h"

namespace e2e {
namespace {

const QString kCj188ReadId =
    QStringLiteral("FE FE FE 68 10 AA AA AA AA AA AA AA 03 03 0A 81 01 B0 16");

// A Read Data the meter answers: the meter read exactly the request, the
// window shows exactly the answer, both counters agree, the parser is idle.
void expectAnsweredReadData(Page page) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    bench.w().click(b.readData);
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }))
        << "received: " << bench.w().received().toStdString();
    ASSERT_TRUE(bench.waitForAllSent());
    EXPECT_EQ(hexText(bench.sim.received()), b.readDataFrame);
    EXPECT_EQ(bench.requests(QString::fromLatin1(b.request)), 1);
    EXPECT_EQ(bench.w().received(), paneEcho(bench.sim.sent()));
    EXPECT_EQ(bench.w().transmitted(page), QLatin1Char(' ') + paneEcho(hexBytes(b.readDataFrame)));
    EXPECT_EQ(bench.w().txCaption(), QString::number(hexBytes(b.readDataFrame).size()));
    EXPECT_EQ(bench.w().form().core().replyShape(), nullptr);
    EXPECT_FALSE(bench.w().form().core().awaitingReply());
    EXPECT_TRUE(bench.w().prompts().empty());
}

TEST(Cj188Operations, ReadDataPassesOnTheMetersAnswer) {
    expectAnsweredReadData(Page::Cj188);
}

TEST(En1434Operations, ReadDataPassesOnTheMetersAnswer) {
    expectAnsweredReadData(Page::En1434);
}

// After a passed Read Data the parser is idle: a Read ID answer is only echoed.
TEST(Cj188Operations, ReadIdAfterAPassedReadDataIsOnlyEchoed) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.w().click("Bevelo1");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    ASSERT_TRUE(bench.waitForAllSent());
    const std::size_t before = bench.sim.sent().size();

    bench.w().type(bench.w().c().Text1, QStringLiteral("99"));  // not read by Read ID
    bench.w().click("Bevelo3");
    ASSERT_TRUE(waitFor([&] { return bench.requests(QStringLiteral("cj188 read-address")) == 1; }));
    ASSERT_TRUE(bench.waitForAllSent());
    const Bytes all = bench.sim.sent();
    const Bytes answer(all.begin() + static_cast<long>(before), all.end());
    EXPECT_FALSE(answer.empty());
    EXPECT_EQ(bench.w().received(), paneEcho(answer));
    EXPECT_EQ(bench.w().analysis(), QString());
    EXPECT_EQ(bench.w().form().core().replyShape(), nullptr);
    EXPECT_TRUE(bench.w().form().core().awaitingReply());
    const Bytes seen = bench.sim.received();
    EXPECT_EQ(hexText(Bytes(seen.end() - 19, seen.end())), kCj188ReadId);
    EXPECT_EQ(bench.w().c().Text1->text(), QStringLiteral("99"));
}

// A Read Data the meter does not answer leaves the CJ188 parser armed; the
// Read ID answer is then examined and passes.
TEST(Cj188Operations, ReadIdAfterAnUnansweredReadDataPasses) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.w().type(bench.w().c().Text1, QStringLiteral("1"));  // another meter's number
    bench.w().click("Bevelo1");
    ASSERT_TRUE(waitFor([&] { return bench.requests(QStringLiteral("ignored cj188")) == 1; }));
    processEventsFor(50);
    EXPECT_EQ(bench.w().analysis(), QString());
    EXPECT_EQ(bench.w().form().core().replyShape(), &mb::kCj188ReplyShape);

    bench.w().click("Bevelo3");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    EXPECT_EQ(bench.requests(QStringLiteral("cj188 read-address")), 1);
    EXPECT_EQ(bench.w().form().core().replyShape(), nullptr);
    EXPECT_FALSE(bench.w().form().core().awaitingReply());
}

// Modification ID moves the meter: the old address goes unanswered, the new
// one answers. The E5 acknowledgement is only echoed.
TEST(En1434Operations, ModificationIdThenReadDataAtTheNewAddress) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().type(bench.w().c().Text7, QStringLiteral("05"));
    bench.w().click("Bevelo15");
    ASSERT_TRUE(waitFor([&] { return bench.w().received() == QStringLiteral("E5 "); }));
    EXPECT_EQ(hexText(bench.sim.received()), QStringLiteral("68 06 06 68 53 FE 51 01 7A 05 22 16"));
    EXPECT_TRUE(
        bench.sim.lines(QStringLiteral("NOTE")).contains(QStringLiteral("primary address 1 -> 5")));
    processEventsFor(30);
    EXPECT_EQ(bench.w().analysis(), QString());
    EXPECT_EQ(bench.w().form().core().replyShape(), nullptr);
    EXPECT_TRUE(bench.w().form().core().awaitingReply());
    EXPECT_EQ(bench.w().txCaption(), QStringLiteral("12"));
    EXPECT_EQ(bench.w().rxCaption(), QStringLiteral("1"));

    // DEVICE ID still 1: the old address.
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return bench.requests(QStringLiteral("ignored mbus")) == 1; }));
    processEventsFor(50);
    EXPECT_EQ(bench.w().analysis(), QString());
    EXPECT_EQ(bench.w().form().core().replyShape(), &mb::kMbusLongFrameShape);

    bench.w().type(bench.w().c().Text6, QStringLiteral("05"));
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    const Bytes seen = bench.sim.received();
    EXPECT_EQ(hexText(Bytes(seen.end() - 5, seen.end())), QStringLiteral("10 5B 05 60 16"));
}

// With the Read Data unanswered (the M-Bus parser armed), the line's echo of a
// Modification ID is itself a valid long frame and passes.
TEST(En1434Operations, EchoedModificationIdPassesWhileReadDataAwaits) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("echo")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().type(bench.w().c().Text6, QStringLiteral("7"));  // nobody there
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return bench.requests(QStringLiteral("ignored mbus")) == 1; }));
    processEventsFor(50);
    ASSERT_EQ(bench.w().form().core().replyShape(), &mb::kMbusLongFrameShape);

    bench.w().type(bench.w().c().Text7, QStringLiteral("01"));
    bench.w().click("Bevelo15");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    ASSERT_TRUE(bench.waitForAllSent());
    EXPECT_EQ(bench.w().received(), QStringLiteral("68 06 06 68 53 FE 51 01 7A 01 1E 16 E5 "));
    EXPECT_EQ(bench.w().form().core().replyShape(), nullptr);
}

// --- faults of the meter, on each page's Read Data -------------------------------

enum class Expect { Pass, NoPass };

// Runs one Read Data against a meter with `options`; returns the bench for
// further checks after the meter's output has fully arrived.
void readDataWithFault(Page page, const QStringList& options, Expect expect,
                       const std::function<void(MeterBench&)>& more = {}) {
    MeterBench bench(options);
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    bench.w().click(b.readData);
    ASSERT_TRUE(waitFor([&] { return bench.requests(QString::fromLatin1(b.request)) == 1; }));
    if (expect == Expect::Pass) {
        ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 4000))
            << bench.w().received().toStdString();
    }
    if (!options.join(QLatin1Char(',')).contains(QStringLiteral("silent"))) {
        ASSERT_TRUE(bench.waitForAllSent(4000));
    }
    processEventsFor(30);
    if (expect == Expect::NoPass) {
        EXPECT_EQ(bench.w().analysis(), QString()) << bench.w().received().toStdString();
        EXPECT_EQ(bench.w().form().core().replyShape(),
                  page == Page::Cj188 ? &mb::kCj188ReplyShape : &mb::kMbusLongFrameShape);
        EXPECT_TRUE(bench.w().form().core().awaitingReply());
    }
    EXPECT_EQ(bench.w().received(), paneEcho(bench.sim.sent()));
    EXPECT_EQ(bench.w().rxCaption(), QString::number(bench.sim.sent().size()));
    if (more) more(bench);
}

QStringList fault(const char* name, QStringList extra = {}) {
    return QStringList{QStringLiteral("--fault"), QString::fromLatin1(name)} + extra;
}

TEST(Cj188Faults, BadChecksumNeverPasses) {
    readDataWithFault(Page::Cj188, fault("bad-checksum"), Expect::NoPass);
}
TEST(En1434Faults, BadChecksumNeverPasses) {
    readDataWithFault(Page::En1434, fault("bad-checksum"), Expect::NoPass);
}
TEST(Cj188Faults, SilentMeterLeavesTheParserArmed) {
    readDataWithFault(Page::Cj188, fault("silent"), Expect::NoPass,
                      [](MeterBench& b) { EXPECT_EQ(b.w().rxCaption(), QStringLiteral("0")); });
}
TEST(En1434Faults, SilentMeterLeavesTheParserArmed) {
    readDataWithFault(Page::En1434, fault("silent"), Expect::NoPass,
                      [](MeterBench& b) { EXPECT_EQ(b.w().rxCaption(), QStringLiteral("0")); });
}
TEST(Cj188Faults, NoiseBeforeTheAnswerIsSkipped) {
    readDataWithFault(Page::Cj188, fault("noise"), Expect::Pass);
}
TEST(En1434Faults, NoiseBeforeTheAnswerIsSkipped) {
    readDataWithFault(Page::En1434, fault("noise"), Expect::Pass);
}
// The CJ188 request, returned by the line, is a CJ188-shaped frame with a
// correct checksum: it passes before the meter's own answer arrives.
TEST(Cj188Faults, EchoedRequestPassesAndTheAnswerIsOnlyEchoed) {
    readDataWithFault(Page::Cj188, fault("echo"), Expect::Pass, [](MeterBench& b) {
        // The line returns every byte of the request, wake-up bytes too, as a
        // two-wire bus does.
        const Bytes request = hexBytes(buttonsOf(Page::Cj188).readDataFrame);
        EXPECT_TRUE(b.w().received().startsWith(paneEcho(request)))
            << b.w().received().toStdString();
        EXPECT_EQ(b.w().form().core().replyShape(), nullptr);
    });
}
// The M-Bus request is a short frame: its echo is never taken for the answer.
TEST(En1434Faults, EchoedShortFrameIsNotTakenForTheAnswer) {
    readDataWithFault(Page::En1434, fault("echo,silent"), Expect::NoPass, [](MeterBench& b) {
        EXPECT_EQ(b.w().received(), QStringLiteral("10 5B 01 5C 16 "));
    });
}
TEST(En1434Faults, EchoThenAnswerPassesOnTheAnswer) {
    readDataWithFault(Page::En1434, fault("echo"), Expect::Pass);
}

// "Check Pass！" comes with the chunk that brings the checksum, not before.
void splitAnswerPassesOnItsLastChunk(Page page) {
    MeterBench bench(fault("split", {QStringLiteral("--split-bytes"), QStringLiteral("3"),
                                     QStringLiteral("--split-pause-ms"), QStringLiteral("30")}));
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    bench.w().click(b.readData);
    qsizetype shownAtPass = -1;
    ASSERT_TRUE(waitFor(
        [&] {
            if (bench.w().checkPass()) shownAtPass = bench.w().received().size() / 3;
            return shownAtPass >= 0;
        },
        4000));
    ASSERT_TRUE(bench.waitForAllSent());
    const qsizetype total = static_cast<qsizetype>(bench.sim.sent().size());
    EXPECT_GE(shownAtPass, total - 1) << "passed before the checksum byte arrived";
    EXPECT_GT(bench.sim.lines(QStringLiteral("TX")).size(), 5);
    EXPECT_EQ(bench.w().received(), paneEcho(bench.sim.sent()));
}

TEST(Cj188Faults, SplitAnswerPassesOnItsLastChunk) {
    splitAnswerPassesOnItsLastChunk(Page::Cj188);
}
TEST(En1434Faults, SplitAnswerPassesOnItsLastChunk) {
    splitAnswerPassesOnItsLastChunk(Page::En1434);
}

void lateAnswerStillPasses(Page page) {
    MeterBench bench(fault("late", {QStringLiteral("--delay-ms"), QStringLiteral("400")}));
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(page);
    QElapsedTimer clock;
    clock.start();
    bench.w().click(buttonsOf(page).readData);
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 3000));
    EXPECT_GE(clock.elapsed(), 350);  // no answer is invented before the meter speaks
}

TEST(Cj188Faults, LateAnswerStillPasses) {
    lateAnswerStillPasses(Page::Cj188);
}
TEST(En1434Faults, LateAnswerStillPasses) {
    lateAnswerStillPasses(Page::En1434);
}

// A burst of random bytes larger than the ring before the answer: every byte
// is counted and echoed, and a later clean Read Data passes again.
void floodIsSurvived(Page page) {
    MeterBench bench(fault("flood", {QStringLiteral("--fault-every"), QStringLiteral("2")}));
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    bench.w().click(b.readData);  // 1st: clean
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    ASSERT_TRUE(bench.waitForAllSent());
    const std::size_t cleanSize = bench.sim.sent().size();
    bench.w().click(b.readData);  // 2nd: flooded
    ASSERT_TRUE(waitFor([&] { return bench.sim.sent().size() >= cleanSize * 2 + 4096; }));
    ASSERT_TRUE(bench.waitForAllSent());
    EXPECT_EQ(bench.w().received().size(),
              3 * static_cast<qsizetype>(bench.sim.sent().size() - cleanSize));
    // Later requests: clean ones pass again within a few rounds.
    bool passedAgain = false;
    for (int round = 0; round < 6 && !passedAgain; ++round) {
        bench.w().click(b.readData);
        ASSERT_TRUE(bench.waitForAllSent());
        processEventsFor(20);
        passedAgain = bench.w().checkPass();
    }
    EXPECT_TRUE(passedAgain);
}

TEST(Cj188Faults, FloodLargerThanTheRingIsSurvived) {
    floodIsSurvived(Page::Cj188);
}
TEST(En1434Faults, FloodLargerThanTheRingIsSurvived) {
    floodIsSurvived(Page::En1434);
}

}  // namespace
}  // namespace e2e
