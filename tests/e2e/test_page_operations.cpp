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

// Runs a read by button ("Bevelo1") or menu action and waits for its pass.
bool readPasses(MeterBench& bench, const char* read) {
    const std::size_t before = bench.w().results().size();
    if (QString::fromLatin1(read).startsWith(QStringLiteral("Bevelo")))
        bench.w().click(read);
    else
        trigger(bench, read);
    return waitFor([&] { return bench.w().results().size() > before && bench.w().checkPass(); });
}

// Each CJ188 write asks for its value, then for confirmation naming the meter
// and the change; the read after it shows the change (the address last: the
// page's fields follow the meter to its new address).
TEST(PageOperations, Cj188WritesAskTheirValueAndTheNextReadShowsThem) {
    const struct {
        const char* write;
        QString value;
        QString change;
        const char* read;
        QString shows;
    } rows[] = {
        {"Cj188Operations.10", QStringLiteral("25"),
         QStringLiteral("Set the settlement day to day 25"), "Cj188Operations.2",
         QStringLiteral("Settlement day  day 25 of the month")},
        {"Cj188Operations.11", QStringLiteral("4321.5"),
         QStringLiteral("Set its reading to 4321.50 m³"), "Bevelo1",
         QStringLiteral("Current cumulative flow  4321.5")},
        {"Cj188Operations.9", QStringLiteral("78330000000042"),
         QStringLiteral("Give it the address 78330000000042"), "Bevelo1",
         QStringLiteral("Address  78330000000042")},
    };
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.write);
        const std::size_t results = bench.w().results().size();
        const std::size_t questions = bench.w().questions().size();
        bench.w().answerInputs({row.value});
        trigger(bench, row.write);
        ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == results + 1; }));
        EXPECT_EQ(bench.w().results().back().verdict, mb::Verdict::Acknowledged);
        ASSERT_EQ(bench.w().questions().size(), questions + 1);
        const QString asked = bench.w().questions().back().text;
        EXPECT_TRUE(asked.contains(row.change) &&
                    asked.contains(QStringLiteral("meter 78330000000000")))
            << asked.toStdString();
        ASSERT_TRUE(readPasses(bench, row.read));
        EXPECT_TRUE(bench.w().analysis().contains(row.shows)) << bench.w().analysis().toStdString();
    }
}

// A value cancelled or out of range sends nothing and asks no confirmation.
TEST(PageOperations, Cj188WriteValueCancelledOrRefusedSendsNothing) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    bench.w().answerInputs({});
    trigger(bench, "Cj188Operations.10");
    bench.w().answerInputs({QStringLiteral("32")});
    trigger(bench, "Cj188Operations.10");
    bench.w().answerInputs({QStringLiteral("12.345")});
    trigger(bench, "Cj188Operations.11");
    processEventsFor(300);
    EXPECT_TRUE(bench.w().questions().empty());
    EXPECT_EQ(bench.w().notices().size(), 2u) << "the refused day and reading are named";
    EXPECT_TRUE(bench.w().results().empty());
    EXPECT_EQ(bench.requests(QStringLiteral("cj188")), 0);
}

// The reads beyond 901F, from the menu and its history submenu, decoded.
TEST(PageOperations, Cj188ReadsOfHistoryAndPurchases) {
    const std::pair<const char*, QString> rows[] = {
        {"Cj188Operations.6.0",
         QStringLiteral("Settlement date cumulative flow, 1 month ago  12000.00 m³")},
        {"Cj188Operations.6.11",
         QStringLiteral("Settlement date cumulative flow, 12 months ago  11890.00 m³")},
        {"Cj188Operations.7", QStringLiteral("Reading day  day 1 of the month")},
        {"Cj188Operations.8", QStringLiteral("Remaining amount  123.45 yuan")},
    };
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::Cj188);
    for (const auto& [action, shows] : rows) {
        SCOPED_TRACE(action);
        ASSERT_TRUE(readPasses(bench, action));
        EXPECT_TRUE(bench.w().analysis().contains(shows)) << bench.w().analysis().toStdString();
    }
    EXPECT_TRUE(bench.w().questions().empty()) << "reads ask nothing";
}

// Read all telegrams: SND_NKE, then one REQ_UD2 a telegram; the panes show
// the merged reading, every exchange is in the record.
TEST(PageOperations, MbusReadAllTelegramsShowsTheMergedReading) {
    MeterBench bench({QStringLiteral("--telegrams"), QStringLiteral("3")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    trigger(bench, "MbusOperations.3");
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 4 && bench.w().checkPass(); }))
        << bench.w().verdicts().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(bench.w().verdicts(), (QStringList{QStringLiteral("ack"), QStringLiteral("pass"),
                                                 QStringLiteral("pass"), QStringLiteral("pass")}));
    EXPECT_EQ(bench.requests(QStringLiteral("mbus req-ud2")), 3);
    const QString shown = bench.w().analysis();
    EXPECT_TRUE(shown.contains(QStringLiteral("Telegrams  3"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("More records follow"))) << shown.toStdString();
    // Every step is counted, and the pane shows the last request sent: 5 bytes each.
    EXPECT_EQ(bench.w().txCaption(), QStringLiteral("20"));
    EXPECT_TRUE(bench.w().transmitted(Page::En1434).startsWith(QStringLiteral(" 10 7B 01")) ||
                bench.w().transmitted(Page::En1434).startsWith(QStringLiteral(" 10 5B 01")))
        << bench.w().transmitted(Page::En1434).toStdString();
}

// Secondary selection on a three-meter bus: one match is read at 253 and
// given NEW ID as its primary address; several matches are a collision.
TEST(PageOperations, MbusSecondarySelectionReadsAndAddressesOneMeter) {
    MeterBench bench(
        {QStringLiteral("--mbus-meters"), QStringLiteral("3")});  // 12345678..80 at 1..3
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().answerInputs({QStringLiteral("F2345679")});
    trigger(bench, "MbusOperations.4");
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 3 && bench.w().checkPass(); }));
    EXPECT_EQ(bench.w().verdicts(),
              (QStringList{QStringLiteral("ack"), QStringLiteral("pass"), QStringLiteral("ack")}));
    EXPECT_TRUE(bench.w().analysis().contains(QStringLiteral("Identification  12345679")));

    bench.w().answerInputs({QStringLiteral("12345FFF")});
    trigger(bench, "MbusOperations.4");
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 5; }));
    processEventsFor(200);
    EXPECT_FALSE(bench.w().checkPass());
    EXPECT_TRUE(bench.w().analysis().startsWith(QStringLiteral("Collision")))
        << bench.w().analysis().toStdString();

    bench.w().type(bench.w().c().Text7, QStringLiteral("28"));  // NEW ID 28H = 40
    bench.w().answerInputs({QStringLiteral("12345680")});
    trigger(bench, "MbusOperations.5");
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 8; }));
    const QString asked = bench.w().questions().back().text;
    EXPECT_TRUE(asked.contains(QStringLiteral("secondary address 12345680")) &&
                asked.contains(QStringLiteral("primary address 40")))
        << asked.toStdString();
    bench.w().type(bench.w().c().Text6, QStringLiteral("28"));
    ASSERT_TRUE(readPasses(bench, "Bevelo17"));
    EXPECT_TRUE(bench.w().analysis().contains(QStringLiteral("Identification  12345680")));
}

// Baud rate switch: E5 at the old rate, then the window's own line follows,
// says so, and the next Read Data passes at the new rate.
TEST(PageOperations, MbusBaudSwitchTheLineFollows) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().answerInputs({QStringLiteral("9600")});
    trigger(bench, "MbusOperations.6");
    ASSERT_TRUE(waitFor([&] { return bench.w().results().size() == 1; }));
    EXPECT_EQ(bench.w().verdicts(), QStringList{QStringLiteral("ack")});
    EXPECT_EQ(hexText(bench.sim.received()), QStringLiteral("68 03 03 68 53 01 BD 11 16"));
    ASSERT_TRUE(
        waitFor([&] { return bench.w().form().serialSettings() == QStringLiteral("9600,E,8,1"); }));
    ASSERT_EQ(bench.w().notices().size(), 1u);
    EXPECT_TRUE(bench.w().notices()[0].text.contains(QStringLiteral("9600")))
        << bench.w().notices()[0].text.toStdString();
    ASSERT_TRUE(readPasses(bench, "Bevelo17"));
}

}  // namespace
}  // namespace e2e
