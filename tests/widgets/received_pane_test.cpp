// The received-data pane: bounded text with its trim notice, time-stamped lines.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <string>

#include "core/HexText.h"
#include "widgets/ReceivedPane.h"

namespace {

std::string grouped(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
}

// Echo text of `bytes` received bytes, as the window makes it.
std::string echoOf(int bytes, int seed) {
    std::string echo;
    for (int i = 0; i < bytes; ++i) {
        const auto b = static_cast<std::uint8_t>(i * 131 + seed);
        mb::appendHexEcho(echo, std::span(&b, 1));
    }
    return echo;
}

}  // namespace

TEST(ReceivedPane, KeepsTheNewestTextAndSaysHowMuchWentEachTimeItTrims) {
    const struct {
        const char* name;
        qsizetype limit, keep;  // 0: the pane's own bound
        int eventBytes, events;
    } cases[] = {
        {"small bound, many trims", 3000, 2000, 21, 400},
        {"one event larger than the bound", 3000, 2000, 2500, 2},
        {"the window's 8 MB bound", 0, 0, 4096, 800},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReceivedPane pane;
        pane.resize(400, 120);
        pane.show();
        const qsizetype limit = c.limit ? c.limit : ReceivedPane::kLimitBytes;
        if (c.limit) pane.setBound(c.limit, c.keep);
        std::string fed;
        long long lastTrimmed = 0;
        int trims = 0;
        for (int e = 0; e < c.events; ++e) {
            const std::string echo = echoOf(c.eventBytes, e);
            fed += echo;
            pane.appendReceiveEvent(echo, QTime(1, 19));
            ASSERT_LE(pane.sizeBytes(), limit);
            if (pane.trimmedBytes() != lastTrimmed) ++trims;
            lastTrimmed = pane.trimmedBytes();
        }
        EXPECT_GE(trims, c.limit ? 2 : 1);
        const std::string text = pane.text().toStdString();
        const std::size_t lineEnd = text.find('\n');
        ASSERT_NE(lineEnd, std::string::npos);
        EXPECT_EQ(text.substr(0, lineEnd), "[" + grouped(pane.trimmedBytes()) +
                                               " bytes trimmed from the start; the session "
                                               "record keeps every byte]");
        const std::string kept = text.substr(lineEnd + 1);
        EXPECT_EQ(static_cast<std::size_t>(pane.trimmedBytes()) + kept.size(), fed.size());
        EXPECT_TRUE(fed.ends_with(kept)) << "the kept text is not the newest";
        EXPECT_EQ(pane.length(), static_cast<qsizetype>(text.size()));
        if (c.limit) {
            // Rows are those of laying out the trimmed text afresh.
            TextPane fresh;
            fresh.resize(pane.size());
            fresh.show();
            fresh.setText(pane.text());
            ASSERT_EQ(fresh.rowCount(), pane.rowCount());
            for (int r = 0; r < pane.rowCount(); ++r) ASSERT_EQ(fresh.rowText(r), pane.rowText(r));
        }
        QAccessibleTextInterface* ai =
            QAccessible::queryAccessibleInterface(&pane)->textInterface();
        EXPECT_EQ(ai->characterCount(), static_cast<int>(text.size()));
        EXPECT_EQ(ai->text(0, 1), QStringLiteral("["));
        pane.clear();
        EXPECT_EQ(pane.trimmedBytes(), 0);
    }
}

TEST(ReceivedPane, TimeStampsPutEachEventOnALineOfItsOwn) {
    const QTime t1(1, 19, 0, 123), t2(23, 5, 9, 7);
    const struct {
        const char* name;
        bool firstStamped, secondStamped;
        const char* text;
    } cases[] = {
        {"off: plain appending", false, false, "68 42 16 "},
        {"on", true, true, "[01:19:00.123] 68 42 \n[23:05:09.007] 16 "},
        {"switched on", false, true, "68 42 \n[23:05:09.007] 16 "},
        {"switched off", true, false, "[01:19:00.123] 68 42 \n16 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReceivedPane pane;
        pane.setTimeStamps(c.firstStamped);
        pane.appendReceiveEvent("68 42 ", t1);
        pane.setTimeStamps(c.secondStamped);
        pane.appendReceiveEvent("16 ", t2);
        EXPECT_EQ(pane.text(), QString::fromLatin1(c.text));
        pane.clear();  // a cleared pane starts without an empty line
        pane.appendReceiveEvent("E5 ", t1);
        EXPECT_EQ(pane.text().startsWith(QLatin1Char('\n')), false);
    }
    ReceivedPane pane;
    EXPECT_FALSE(pane.timeStamps()) << "time stamps are off by default";
}
