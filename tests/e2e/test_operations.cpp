// Every request of both pages against the virtual meter: what the meter read,
// what the window shows and records, and each fault the meter can put on the line.
#include <gtest/gtest.h>

#include "tests/e2e/MeterBench.h"

namespace e2e {
namespace {

QStringList fault(const char* names, QStringList extra = {}) {
    return QStringList{QStringLiteral("--fault"), QString::fromLatin1(names)} + extra;
}

QStringList analysisLines(MeterBench& b) { return b.w().analysis().split(QLatin1Char('\n')); }

class BothPages : public ::testing::TestWithParam<Page> {};

// A Read Data the meter answers: the meter read exactly the request, the
// window shows exactly the answer, its decode, and both counters agree.
TEST_P(BothPages, ReadDataPassesOnTheMetersAnswer) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(GetParam());
    bench.usePage(GetParam());
    bench.w().click(b.readData);
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }))
        << "received: " << bench.w().received().toStdString();
    ASSERT_TRUE(bench.waitForAllSent());
    EXPECT_EQ(hexText(bench.sim.received()), b.readDataFrame);
    EXPECT_EQ(bench.requests(QString::fromLatin1(b.request)), 1);
    EXPECT_EQ(bench.w().received(), paneEcho(bench.sim.sent()));
    EXPECT_EQ(bench.w().transmitted(GetParam()), QLatin1Char(' ') + paneEcho(hexBytes(b.readDataFrame)));
    EXPECT_EQ(bench.w().txCaption(), QString::number(hexBytes(b.readDataFrame).size()));
    EXPECT_EQ(bench.w().verdicts(), QStringList{QStringLiteral("pass")});
    EXPECT_TRUE(bench.w().prompts().empty());
}

// The line hears itself: the echo of the request is skipped, and what passes
// is the meter's own answer (a reply's control code, not the request's).
TEST_P(BothPages, EchoIsSkippedAndTheMetersAnswerIsDecoded) {
    MeterBench bench(fault("echo"));
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(GetParam());
    bench.usePage(GetParam());
    bench.w().click(b.readData);
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 4000));
    ASSERT_TRUE(bench.waitForAllSent());
    EXPECT_TRUE(bench.w().received().startsWith(paneEcho(hexBytes(b.readDataFrame))));
    ASSERT_EQ(bench.w().results().size(), 1u);
    const mb::ExchangeResult& r = bench.w().results().front();
    EXPECT_TRUE(r.echoSkipped);
    const QString decoded = bench.w().analysis();
    if (GetParam() == Page::Cj188) {
        EXPECT_TRUE(decoded.contains(QStringLiteral("Control code  81"))) << decoded.toStdString();
        EXPECT_FALSE(decoded.contains(QStringLiteral("Control code  01")));
    } else {
        EXPECT_TRUE(decoded.contains(QStringLiteral("RSP_UD"))) << decoded.toStdString();
    }
}

// Faults that give no pass: the verdict says why, nothing is invented.
TEST_P(BothPages, FaultsWithoutAValidAnswerSayWhy) {
    struct Case {
        const char* faults;
        const char* firstLine;
    };
    const Case cases[] = {
        {"silent", "No reply within 300 ms"},
        {"echo,silent", "No reply within 300 ms"},
        {"bad-checksum", "No valid reply within 300 ms ("},
    };
    for (const Case& c : cases) {
        MeterBench bench(fault(c.faults));
        CONNECT_BENCH_OR_SKIP(bench);
        bench.usePage(GetParam());
        bench.w().form().setReplyTimeout(0.3);
        bench.w().click(buttonsOf(GetParam()).readData);
        ASSERT_TRUE(waitFor([&] { return !bench.w().analysis().isEmpty(); }, 3000)) << c.faults;
        EXPECT_TRUE(bench.w().analysis().startsWith(QString::fromLatin1(c.firstLine)))
            << c.faults << ": " << bench.w().analysis().toStdString();
        EXPECT_FALSE(bench.w().checkPass()) << c.faults;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, BothPages, ::testing::Values(Page::Cj188, Page::En1434),
                         [](const auto& info) { return info.param == Page::Cj188 ? "Cj188" : "En1434"; });

// Read ID is answered with the meter's address: its own lines, never "Check Pass！".
TEST(Cj188Operations, ReadIdShowsTheAddressFound) {
    MeterBench bench(fault("echo"));
    CONNECT_BENCH_OR_SKIP(bench);
    bench.w().type(bench.w().c().Text1, QStringLiteral("99"));  // not read by Read ID
    bench.w().click("Bevelo3");
    ASSERT_TRUE(waitFor([&] { return !bench.w().analysis().isEmpty(); }));
    const QStringList lines = analysisLines(bench);
    EXPECT_EQ(lines.value(0), QStringLiteral("Address found"));
    EXPECT_TRUE(bench.w().analysis().contains(QStringLiteral("78330000000000")))
        << bench.w().analysis().toStdString();
    EXPECT_EQ(hexText(bench.sim.received()),
              QStringLiteral("FE FE FE 68 10 AA AA AA AA AA AA AA 03 03 0A 81 01 B0 16"));
    EXPECT_EQ(bench.w().c().Text1->text(), QStringLiteral("99"));
    EXPECT_EQ(bench.w().verdicts(), QStringList{QStringLiteral("pass")});
}

// Modification ID moves the meter and is acknowledged (through the line's
// echo); the old address then goes unanswered, the new one answers.
TEST(En1434Operations, ModificationIdIsAcknowledgedThenReadDataAtTheNewAddress) {
    MeterBench bench(fault("echo"));
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().form().setReplyTimeout(0.3);
    bench.w().type(bench.w().c().Text7, QStringLiteral("05"));
    bench.w().click("Bevelo15");
    ASSERT_TRUE(waitFor([&] { return !bench.w().analysis().isEmpty(); }));
    EXPECT_EQ(analysisLines(bench).value(0), QStringLiteral("Acknowledged (E5)"));
    EXPECT_EQ(hexText(bench.sim.received()), QStringLiteral("68 06 06 68 53 FE 51 01 7A 05 22 16"));
    EXPECT_TRUE(waitFor([&] {
        return bench.sim.lines(QStringLiteral("NOTE")).join(QLatin1Char('|')).contains(
            QStringLiteral("primary address 1 -> 5"));
    })) << bench.sim.lines(QStringLiteral("NOTE")).join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(bench.w().txCaption(), QStringLiteral("12"));

    bench.w().click("Bevelo17");  // DEVICE ID still 1: the old address
    ASSERT_TRUE(waitFor([&] { return bench.w().analysis().startsWith(QStringLiteral("No reply")); }));

    bench.w().type(bench.w().c().Text6, QStringLiteral("05"));
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    EXPECT_EQ(bench.w().verdicts(),
              (QStringList{QStringLiteral("ack"), QStringLiteral("no-reply"), QStringLiteral("pass")}));
}

// An unanswered Read Data, then a Modification ID the line echoes: the echo
// of the SND_UD is no answer; the meter's E5 is.
TEST(En1434Operations, EchoedModificationIdIsNeverTakenForTheAnswer) {
    MeterBench bench(fault("echo"));
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().type(bench.w().c().Text6, QStringLiteral("7"));  // nobody there
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return bench.w().received() == QStringLiteral("10 5B 07 62 16 "); }));
    bench.w().type(bench.w().c().Text7, QStringLiteral("01"));
    bench.w().click("Bevelo15");
    ASSERT_TRUE(waitFor([&] { return bench.w().verdicts().size() == 2; }));
    EXPECT_EQ(bench.w().verdicts(), (QStringList{QStringLiteral("no-reply"), QStringLiteral("ack")}));
    EXPECT_FALSE(bench.w().checkPass());
    EXPECT_EQ(bench.w().received(), QStringLiteral("68 06 06 68 53 FE 51 01 7A 01 1E 16 E5 "));
}

}  // namespace
}  // namespace e2e
