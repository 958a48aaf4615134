// The send sequence as the window runs it, on a pty whose far end the test
// holds: pane text, prompt, emptied panes, the bytes on the line, txCount.
#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"

namespace e2e {
namespace {

const QString kReadData =
    QStringLiteral("FE FE FE 68 10 00 00 00 00 00 33 78 01 03 1F 90 01 D7 16");
const QString kReadId = QStringLiteral("FE FE FE 68 10 AA AA AA AA AA AA AA 03 03 0A 81 01 B0 16");
const QString kReqUd2To00 = QStringLiteral("10 5B 00 5B 16");
const QString kSndUdTo00 = QStringLiteral("68 06 06 68 53 FE 51 01 7A 00 1D 16");

struct Operation {
    const char* button;
    Page page;
    QString frame;
};

const Operation kOperations[] = {
    {"Bevelo1", Page::Cj188, kReadData},
    {"Bevelo3", Page::Cj188, kReadId},
    {"Bevelo17", Page::En1434, kReqUd2To00},
    {"Bevelo15", Page::En1434, kSndUdTo00},
};

void showPageOf(Window& w, Page page) {
    if (page == Page::Cj188)
        w.showCj188Page();
    else
        w.showEn1434Page();
}

// Closed port: the prompt for every request, the frame still shown, both
// shared panes emptied, and nothing counted as sent or awaited.
TEST(SendSequence, ClosedPortPromptsEmptiesPanesAndCountsNothing) {
    FarEnd line;
    ASSERT_TRUE(line.ok());
    for (const Operation& op : kOperations) {
        Window w(line.path());
        showPageOf(w, op.page);
        w.form().receivedPane().setText(QStringLiteral("AA BB "));
        w.form().analysisPane().setText(kCheckPass);

        w.click(op.button);

        ASSERT_EQ(w.prompts().size(), 1u) << op.button;
        EXPECT_EQ(w.prompts()[0].title, kPromptTitle);
        EXPECT_EQ(w.prompts()[0].text, kPromptCom1);
        EXPECT_EQ(w.transmitted(op.page), QLatin1Char(' ') + paneEcho(hexBytes(op.frame)))
            << op.button;
        EXPECT_EQ(w.received(), QString()) << op.button;
        EXPECT_EQ(w.analysis(), QString()) << op.button;
        EXPECT_EQ(w.txCaption(), QStringLiteral("0")) << op.button;
        EXPECT_EQ(w.form().txCount(), 0) << op.button;
        EXPECT_FALSE(w.form().exchanges().running()) << op.button;

        // The next request prompts again; still nothing reached the line.
        w.click(op.button);
        EXPECT_EQ(w.prompts().size(), 2u) << op.button;
        EXPECT_EQ(w.txCaption(), QStringLiteral("0"));
        processEventsFor(20);
        EXPECT_TRUE(line.pump().empty()) << hexText(line.pump()).toStdString();
    }
}

// A request that never reached the line awaits nothing: after Connect a
// reply-shaped frame passes nothing ("Check Pass！" never follows a closed port).
TEST(SendSequence, ClosedPortReadDataNeverPassesAfterConnect) {
    FarEnd line;
    ASSERT_TRUE(line.ok());
    Window w(line.path());
    w.click("Bevelo1");
    ASSERT_EQ(w.prompts().size(), 1u);
    ASSERT_TRUE(w.connect());
    // A CJ188-shaped answer (C 81, L 03) with its checksum.
    Bytes reply = hexBytes(QStringLiteral("68 10 00 00 00 00 00 33 78 81 03 1F 90 01"));
    unsigned sum = 0;
    for (auto b : reply) sum += b;
    reply.push_back(static_cast<std::uint8_t>(sum));
    reply.push_back(0x16);
    line.send(reply);
    ASSERT_TRUE(waitFor([&] { return w.received() == paneEcho(reply); }));
    processEventsFor(50);
    EXPECT_FALSE(w.checkPass());
    EXPECT_TRUE(w.results().empty());
}

// Open port: exactly the shown bytes reach the line, txCount grows by the
// frame's length each time, and two requests with the same inputs are equal.
TEST(SendSequence, OpenPortWritesThePaneBytesAndCountsThem) {
    FarEnd line;
    ASSERT_TRUE(line.ok());
    Window w(line.path());
    ASSERT_TRUE(w.connect());
    qint64 expectedCount = 0;
    for (const Operation& op : kOperations) {
        showPageOf(w, op.page);
        for (int round = 0; round < 2; ++round) {
            line.clear();
            w.form().receivedPane().setText(QStringLiteral("12 "));
            w.form().analysisPane().setText(kCheckPass);
            w.click(op.button);
            const Bytes frame = hexBytes(op.frame);
            expectedCount += static_cast<qint64>(frame.size());
            ASSERT_TRUE(waitFor([&] { return line.pump().size() >= frame.size(); })) << op.button;
            processEventsFor(10);
            EXPECT_EQ(hexText(line.pump()), op.frame) << op.button << " round " << round;
            EXPECT_EQ(w.transmitted(op.page), QLatin1Char(' ') + paneEcho(frame));
            EXPECT_EQ(w.received(), QString());
            EXPECT_EQ(w.analysis(), QString());
            EXPECT_EQ(w.txCaption(), QString::number(expectedCount));
        }
    }
    EXPECT_TRUE(w.prompts().empty());
    // Bevelo5 restarts the count; the next request counts from 0.
    w.click("Bevelo5");
    EXPECT_EQ(w.txCaption(), QStringLiteral("0"));
    w.showCj188Page();
    w.click("Bevelo1");
    EXPECT_EQ(w.txCaption(), QStringLiteral("19"));
}

// The frame comes from the fields as they stand at the click.
TEST(SendSequence, RequestsFollowTheTypedFields) {
    FarEnd line;
    ASSERT_TRUE(line.ok());
    Window w(line.path());
    ASSERT_TRUE(w.connect());
    struct Case {
        const char* button;
        std::function<void()> fill;
        QString frame;
    };
    const std::vector<Case> cases = {
        {"Bevelo1",
         [&] {
             w.type(w.c().Text1, QStringLiteral("1234567890"));
             w.type(w.c().Text3, QStringLiteral("33"));
             w.type(w.c().Text2, QStringLiteral("78"));
             w.chooseMeterType(QStringLiteral(" - 10H"));
         },
         QStringLiteral("FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16")},
        {"Bevelo1",
         [&] {
             w.type(w.c().Text1, QStringLiteral("42"));
             w.type(w.c().Text3, QString());
             w.type(w.c().Text2, QStringLiteral("5"));
             w.chooseMeterType(QStringLiteral(" - 21H"));
         },
         QStringLiteral("FE FE FE 68 21 42 00 00 00 00 00 05 01 03 1F 90 01 ") +
             hexText({static_cast<std::uint8_t>(0x68 + 0x21 + 0x42 + 0x05 + 0x01 + 0x03 + 0x1F +
                                                0x90 + 0x01)}) +
             QStringLiteral(" 16")},
        {"Bevelo3", [&] { w.chooseMeterType(QStringLiteral(" - 20H")); },
         QStringLiteral("FE FE FE 68 20 AA AA AA AA AA AA AA 03 03 0A 81 01 C0 16")},
        {"Bevelo17",
         [&] {
             w.showEn1434Page();
             w.type(w.c().Text6, QStringLiteral("fe"));
         },
         QStringLiteral("10 5B FE 59 16")},
        {"Bevelo17", [&] { w.type(w.c().Text6, QStringLiteral("1")); },
         QStringLiteral("10 5B 01 5C 16")},
        {"Bevelo15", [&] { w.type(w.c().Text7, QStringLiteral("05")); },
         QStringLiteral("68 06 06 68 53 FE 51 01 7A 05 22 16")},
    };
    for (const Case& k : cases) {
        k.fill();
        line.clear();
        w.click(k.button);
        const std::size_t size = hexBytes(k.frame).size();
        ASSERT_TRUE(waitFor([&] { return line.pump().size() >= size; })) << k.button;
        EXPECT_EQ(hexText(line.pump()), k.frame) << k.button;
    }
}

}  // namespace
}  // namespace e2e
