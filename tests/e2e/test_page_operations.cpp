// Each page's Operations… menu against the virtual meter: a write asks first,
// naming the meter and the change, sends nothing when declined, and its effect
// shows in the next Read Data.
#include <gtest/gtest.h>

#include <QAction>

#include "tests/e2e/MeterBench.h"

namespace e2e {
namespace {

void trigger(MeterBench& bench, const char* operation) {
    QAction* action = bench.w().form().findChild<QAction*>(QString::fromLatin1(operation));
    ASSERT_NE(action, nullptr) << operation;
    action->trigger();
}

TEST(PageOperations, Cj188CloseValveAsksThenTheNextReadShowsIt) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    bench.w().answerQuestions(false);
    trigger(bench, "Cj188Operations.4");  // Close valve…
    processEventsFor(300);
    ASSERT_EQ(bench.w().questions().size(), 1u);
    EXPECT_TRUE(bench.w().questions()[0].text.contains(QStringLiteral("Close the valve")));
    EXPECT_TRUE(bench.w().questions()[0].text.contains(QStringLiteral("78330000000000")))
        << bench.w().questions()[0].text.toStdString();
    EXPECT_TRUE(bench.w().results().empty()) << "declined: nothing sent";

    bench.w().answerQuestions(true);
    trigger(bench, "Cj188Operations.4");
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 1; }));
    EXPECT_EQ(bench.w().verdicts(), QStringList{QStringLiteral("ack")});
    EXPECT_FALSE(bench.w().checkPass()) << "a write's answer is no reading";
    bench.w().click("Bevelo1");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }));
    EXPECT_TRUE(bench.w().analysis().contains(QStringLiteral("Valve  closed")))
        << bench.w().analysis().toStdString();
}

TEST(PageOperations, MbusResetIsAcknowledgedAndModificationIdStillSendsAtOnce) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    trigger(bench, "MbusOperations.1");  // Application reset…
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 1; }));
    EXPECT_EQ(bench.w().verdicts(), QStringList{QStringLiteral("ack")});
    ASSERT_EQ(bench.w().questions().size(), 1u);
    bench.w().click("Bevelo15");  // Modification ID: no question
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 2; }));
    EXPECT_EQ(bench.w().questions().size(), 1u);
}

}  // namespace
}  // namespace e2e
