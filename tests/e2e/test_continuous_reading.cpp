// Continuous reading of both pages against the virtual meter, with 1 s
// intervals: start and stop, the field colour, the rhythm, and answers that
// come split, late or not at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/e2e/MeterBench.h"
#include "tests/support/qt/DataHome.h"

namespace e2e {
namespace {

const QColor kGreen(0x00, 0xFF, 0x00);
QColor systemWindowColor() {
    return QApplication::palette().color(QPalette::Base);
}

// Start sends nothing at once; the first Read Data comes one interval later,
// then one per interval. A second Start keeps the one timer in its rhythm.
void rhythmOfStart(Page page) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    EXPECT_EQ(bench.intervalField(page)->text(), QStringLiteral("1"));
    QElapsedTimer clock;
    clock.start();
    bench.w().click(b.start);
    bench.w().click(b.start);
    EXPECT_EQ(bench.w().fieldColor(bench.intervalField(page)), kGreen);
    EXPECT_TRUE(bench.timer(page).isTicking());

    ASSERT_TRUE(waitFor([&] { return bench.requests(QString::fromLatin1(b.request)) >= 1; }));
    const qint64 first = clock.elapsed();
    EXPECT_GE(first, 900) << "the first request must wait one interval";
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    ASSERT_TRUE(waitFor([&] { return bench.requests(QString::fromLatin1(b.request)) >= 2; }));
    const qint64 second = clock.elapsed();
    EXPECT_GE(second - first, 800) << "two timers would send twice per interval";
    EXPECT_EQ(bench.requests(QString::fromLatin1(b.request)), 2);
    // Every tick is a whole Read Data: the panes show only the latest exchange.
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    ASSERT_TRUE(bench.waitForAllSent());
    EXPECT_EQ(bench.w().received().size() * 2, paneEcho(bench.sim.sent()).size());
    EXPECT_EQ(bench.w().txCaption(), QString::number(2 * hexBytes(b.readDataFrame).size()));

    bench.w().click(b.stop);
    EXPECT_FALSE(bench.timer(page).isEnabled());
    EXPECT_EQ(bench.w().fieldColor(bench.intervalField(page)), systemWindowColor());
}

class ContinuousReadingOfEachPage : public ::testing::TestWithParam<Page> {};

TEST_P(ContinuousReadingOfEachPage, FirstRequestOneIntervalAfterStartThenEveryInterval) {
    rhythmOfStart(GetParam());
}

// Start with the port closed: the prompt, and the group stays stopped.
TEST(ContinuousReading, StartWithThePortClosedPromptsAndStaysStopped) {
    FarEnd line;
    ASSERT_TRUE(line.ok());
    Window w(line.path());
    const QColor before = w.fieldColor(w.c().Text4);
    w.click("Bevelo11");
    w.showEn1434Page();
    w.click("Bevelo13");
    ASSERT_EQ(w.prompts().size(), 2u);
    for (const Prompt& p : w.prompts()) {
        EXPECT_EQ(p.title, kPromptTitle);
        EXPECT_EQ(p.text, kPromptCom1);
    }
    EXPECT_FALSE(w.form().page(0).timer().isEnabled());
    EXPECT_FALSE(w.form().page(1).timer().isEnabled());
    EXPECT_EQ(w.fieldColor(w.c().Text4), before);
    EXPECT_EQ(w.fieldColor(w.c().Text5), before);
    EXPECT_EQ(before, QColor(Qt::white));
}

// Every interval the field allows is kept to the millisecond; 0 or an empty
// field leaves a green, enabled group that never ticks.
TEST(ContinuousReading, IntervalsFromOneTo999SecondsAndZeroNeverTicks) {
    FarEnd line;
    ASSERT_TRUE(line.ok());
    Window w(line.path());
    ASSERT_TRUE(w.connect());
    struct Group {
        Page page;
        QLineEdit* field;
        PageTimer* timer;
        const char* start;
    };
    for (const Group& g : {Group{Page::Cj188, w.c().Text4, &w.form().page(0).timer(), "Bevelo11"},
                           Group{Page::En1434, w.c().Text5, &w.form().page(1).timer(), "Bevelo13"}}) {
        if (g.page == Page::En1434) w.showEn1434Page();
        w.click(g.start);
        for (const char* seconds : {"1", "5", "65", "66", "600", "999"}) {
            w.type(g.field, QString::fromLatin1(seconds));
            EXPECT_EQ(g.timer->interval(), QString::fromLatin1(seconds).toInt() * 1000) << seconds;
            EXPECT_TRUE(g.timer->isTicking()) << seconds;
        }
        for (const char* none : {"0", ""}) {
            w.type(g.field, QString::fromLatin1(none));
            EXPECT_EQ(g.timer->interval(), 0);
            EXPECT_TRUE(g.timer->isEnabled());
            EXPECT_FALSE(g.timer->isTicking());
            EXPECT_EQ(w.fieldColor(g.field), kGreen);
        }
    }
    line.clear();
    processEventsFor(1200);
    EXPECT_TRUE(line.pump().empty())
        << "an interval of 0 sent " << hexText(line.pump()).toStdString();
}

// The EN1434 page button stops the CJ188 reading (and showing CJ188 again does
// not restart it); the EN1434 reading goes on when the CJ188 page is shown.
// Disconnect stops both.
TEST(ContinuousReading, PageButtonsAndDisconnectStopTheRightGroups) {
    FarEnd line;
    ASSERT_TRUE(line.ok());
    Window w(line.path());
    ASSERT_TRUE(w.connect());
    w.click("Bevelo11");
    ASSERT_TRUE(w.form().page(0).timer().isEnabled());
    w.showEn1434Page();
    EXPECT_FALSE(w.form().page(0).timer().isEnabled());
    EXPECT_EQ(w.fieldColor(w.c().Text4), systemWindowColor());
    w.click("Bevelo13");
    w.showCj188Page();
    EXPECT_FALSE(w.form().page(0).timer().isEnabled());
    EXPECT_TRUE(w.form().page(1).timer().isEnabled());
    EXPECT_EQ(w.fieldColor(w.c().Text5), kGreen);

    w.click("Bevelo11");
    ASSERT_TRUE(w.form().page(0).timer().isEnabled());
    w.click("OpenCOomPort");  // Disconnect
    EXPECT_FALSE(w.form().portConnected());
    EXPECT_FALSE(w.form().page(0).timer().isEnabled());
    EXPECT_FALSE(w.form().page(1).timer().isEnabled());
    EXPECT_EQ(w.fieldColor(w.c().Text4), systemWindowColor());
    EXPECT_EQ(w.fieldColor(w.c().Text5), systemWindowColor());
    EXPECT_TRUE(w.prompts().empty());
}

// Stop leaves the parser as it is: an answer arriving after Stop still passes.
TEST(ContinuousReading, AnswerArrivingAfterStopStillPasses) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("late"),
                      QStringLiteral("--delay-ms"), QStringLiteral("500")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.w().click("Bevelo11");
    ASSERT_TRUE(waitFor([&] { return bench.requests(QStringLiteral("cj188 read-data")) == 1; }));
    bench.w().click("Bevelo12");
    EXPECT_EQ(bench.w().analysis(), QString());
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    EXPECT_EQ(bench.w().txCaption(), QStringLiteral("19"));
}

// A meter slower than the interval: its answer arrives after the next request
// went out and still passes, since the parser stays armed.
void lateAnswersWhileRunning(Page page) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("late"),
                      QStringLiteral("--delay-ms"), QStringLiteral("1500")});
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    bench.w().click(b.start);
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 4500));
    const std::size_t frame = hexBytes(b.readDataFrame).size();
    EXPECT_EQ(bench.w().txCaption(), QString::number(2 * frame))
        << "the first answer should pass after the second request";
    bench.w().click(b.stop);
}

TEST_P(ContinuousReadingOfEachPage, LateAnswerPassesAfterTheNextRequest) {
    lateAnswersWhileRunning(GetParam());
}

// A meter that does not answer: requests go on at every tick, nothing passes.
void missingAnswersWhileRunning(Page page) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("silent")});
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    bench.w().click(b.start);
    ASSERT_TRUE(waitFor([&] { return bench.requests(QString::fromLatin1(b.request)) == 2; }, 3000));
    processEventsFor(50);
    EXPECT_EQ(bench.w().analysis(), QString());
    EXPECT_EQ(bench.w().rxCaption(), QStringLiteral("0"));
    EXPECT_EQ(hexText(bench.sim.received()), b.readDataFrame + QLatin1Char(' ') + b.readDataFrame);
    bench.w().click(b.stop);
}

TEST_P(ContinuousReadingOfEachPage, MissingAnswersNeverPass) {
    missingAnswersWhileRunning(GetParam());
}

// Answers in small chunks, slow enough that the next tick comes in the middle
// of one: the tick empties the panes, the rest of the answer still completes
// the frame collected so far, and every byte is counted.
void splitAnswersAcrossTicks(Page page) {
    // About 1.2 s an answer (CJ188 38 bytes, M-Bus 72): longer than the rest
    // of the interval after it starts.
    const QString chunk = page == Page::Cj188 ? QStringLiteral("2") : QStringLiteral("4");
    const QString pause = page == Page::Cj188 ? QStringLiteral("60") : QStringLiteral("80");
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("split"),
                      QStringLiteral("--split-bytes"), chunk, QStringLiteral("--split-pause-ms"),
                      pause});
    CONNECT_BENCH_OR_SKIP(bench);
    const PageButtons b = buttonsOf(page);
    bench.usePage(page);
    bench.w().click(b.start);
    const std::size_t frame = hexBytes(b.readDataFrame).size();
    // Pass seen after the second request: the first answer straddled the tick.
    ASSERT_TRUE(waitFor(
        [&] {
            return bench.w().checkPass() && bench.w().txCaption() == QString::number(2 * frame);
        },
        4500))
        << "txCount " << bench.w().txCaption().toStdString() << ", received "
        << bench.w().received().toStdString();
    bench.w().click(b.stop);
    ASSERT_TRUE(bench.waitForAllSent(4000));
    const Bytes out = bench.sim.sent();
    // The pane holds the tail of the meter's output since the last request.
    EXPECT_TRUE(paneEcho(out).endsWith(bench.w().received()));
    EXPECT_LT(bench.w().received().size(), paneEcho(out).size());
}

TEST_P(ContinuousReadingOfEachPage, SplitAnswerStraddlingATickStillPasses) {
    splitAnswersAcrossTicks(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Pages, ContinuousReadingOfEachPage, ::testing::Values(Page::Cj188, Page::En1434),
                         [](const auto& info) { return info.param == Page::Cj188 ? "Cj188" : "En1434"; });

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The session record's event texts, from the one record in `data`.
QStringList recordedEvents(const TempDataHome& data) {
    const QStringList records = data.records();
    if (records.size() != 1) return {QStringLiteral("(%1 records)").arg(records.size())};
    QFile file(records.first());
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList events;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.value(QStringLiteral("dir")).toString() == QStringLiteral("event"))
            events << o.value(QStringLiteral("text")).toString();
    }
    return events;
}

// 400,000 random bytes before every answer: every request still passes on
// the meter's own answer (its address, a reply's control code), and nothing
// is added to what came. This seed's noise holds no whole frame.
TEST(Cj188ContinuousReading, FloodBeforeEveryAnswerStillPassesOnTheMetersOwnAnswer) {
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("flood"), QStringLiteral("--flood-bytes"),
                      QStringLiteral("400000"), QStringLiteral("--seed"), QStringLiteral("5")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    bench.w().click("Bevelo11");
    const auto passes = [&] {
        bench.sim.pump();  // the meter logs every byte; a full log pipe would stop it
        int n = 0;
        for (const mb::ExchangeResult& r : bench.w().results()) n += r.verdict == mb::Verdict::Pass;
        return n;
    };
    ASSERT_TRUE(waitFor([&] { return passes() >= 3; }, 60000)) << bench.w().verdicts().join(' ').toStdString();
    bench.w().click("Bevelo12");
    const std::vector<std::uint8_t> meter{0x00, 0x00, 0x00, 0x00, 0x00, 0x33, 0x78};  // A0..A6
    for (const mb::ExchangeResult& r : bench.w().results()) {
        if (r.verdict != mb::Verdict::Pass) continue;
        ASSERT_GE(r.frame.size(), 13u);
        EXPECT_EQ(std::vector<std::uint8_t>(r.frame.begin() + 2, r.frame.begin() + 9), meter);
        EXPECT_EQ(r.frame[9], 0x81) << "a reply's control code";
        EXPECT_EQ(r.frame.back(), 0x16);
        EXPECT_GE(r.noiseBytes, 400000u - 2000u);
    }
}

// A silent meter read every second: each request's no-reply reaches the
// session record, though the next request overtakes it before its timeout.
TEST(Cj188ContinuousReading, EveryNoReplyReachesTheRecord) {
    TempDataHome data;
    ASSERT_TRUE(data.isValid());
    {
        MeterBench bench({QStringLiteral("--fault"), QStringLiteral("silent")});
        CONNECT_BENCH_OR_SKIP(bench);
        bench.usePage(Page::Cj188);
        bench.w().click("Bevelo11");
        ASSERT_TRUE(waitFor([&] { return bench.requests(QStringLiteral("cj188 read-data")) >= 3; }, 6000));
        ASSERT_TRUE(waitFor([&] { return bench.w().verdicts().size() >= 2; }));
        bench.w().click("Bevelo12");
    }
    int noReplies = 0;
    for (const QString& event : recordedEvents(data))
        noReplies += event.startsWith(QStringLiteral("no-reply, No reply within"));
    EXPECT_GE(noReplies, 2) << recordedEvents(data).join('|').toStdString();
}

}  // namespace
}  // namespace e2e
