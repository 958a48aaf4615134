// Field filters, typed and pasted, and the interval timers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "tests/support/qt/WaitFor.h"
#include "app/EventGate.h"
#include "widgets/FieldFilter.h"
#include "pages/PageTimer.h"

namespace {

void paste(QLineEdit& field, const QString& text) {
    QApplication::clipboard()->setText(text);
    field.paste();
}

}  // namespace

TEST(FieldFilter, CharacterTests) {
    for (char16_t c = 0; c < 0x300; ++c) {
        const bool digit = c >= u'0' && c <= u'9';
        const bool hex = digit || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        EXPECT_EQ(passesTest(CharTest::DecimalRange, QChar(c)), digit) << int(c);
        EXPECT_EQ(passesTest(CharTest::Numeric, QChar(c)), digit) << int(c);
        EXPECT_EQ(passesTest(CharTest::HexDigit, QChar(c)), hex) << int(c);
    }
    EXPECT_FALSE(passesTest(CharTest::Numeric, QChar(0x0663)));       // Arabic-Indic three
    EXPECT_FALSE(passesTest(CharTest::DecimalRange, QChar(0xFF11)));  // full-width one
    EXPECT_EQ(filteredText(QStringLiteral("a1-2.3 b4"), CharTest::Numeric), QStringLiteral("1234"));
    EXPECT_EQ(filteredText(QStringLiteral("aBgG9"), CharTest::HexDigit), QStringLiteral("aB9"));
}

TEST(FieldFilter, TypedAndPastedTextKeepsOnlyAcceptedCharacters) {
    QLineEdit text1;
    text1.setMaxLength(10);
    attachFilter(&text1, CharTest::DecimalRange);
    text1.show();
    QTest::keyClicks(&text1, QStringLiteral("1x2"));
    EXPECT_EQ(text1.text(), QStringLiteral("12"));
    QTest::keyClick(&text1, Qt::Key_A);
    EXPECT_EQ(text1.text(), QStringLiteral("12"));
    text1.clear();
    paste(text1, QStringLiteral("1a2"));
    EXPECT_EQ(text1.text(), QStringLiteral("12"));
    text1.setText(QStringLiteral("9 8-7"));  // program write
    EXPECT_EQ(text1.text(), QStringLiteral("987"));
    QTest::keyClick(&text1, Qt::Key_Backspace);
    EXPECT_EQ(text1.text(), QStringLiteral("98"));

    QLineEdit text6;
    text6.setMaxLength(2);
    attachFilter(&text6, CharTest::HexDigit);
    text6.show();
    QTest::keyClicks(&text6, QStringLiteral("g"));
    EXPECT_EQ(text6.text(), QString());
    QTest::keyClicks(&text6, QStringLiteral("aB"));
    EXPECT_EQ(text6.text(), QStringLiteral("aB"));
    text6.clear();
    paste(text6, QStringLiteral("zF"));
    EXPECT_EQ(text6.text(), QStringLiteral("F"));
}

TEST(FieldFilter, CaretStaysAfterTheKeptCharactersBeforeIt) {
    QLineEdit field;
    attachFilter(&field, CharTest::Numeric);
    field.show();
    field.setText(QStringLiteral("1234"));
    field.setCursorPosition(2);
    QTest::keyClicks(&field, QStringLiteral("x"));
    EXPECT_EQ(field.text(), QStringLiteral("1234"));
    EXPECT_EQ(field.cursorPosition(), 2);
    QTest::keyClicks(&field, QStringLiteral("9"));
    EXPECT_EQ(field.text(), QStringLiteral("12934"));
}

TEST(FieldFilter, IntervalTextGivesMilliseconds) {
    EXPECT_EQ(intervalMsFromText(QString()), 0);
    EXPECT_EQ(intervalMsFromText(QStringLiteral("0")), 0);
    EXPECT_EQ(intervalMsFromText(QStringLiteral("5")), 5000);
    EXPECT_EQ(intervalMsFromText(QStringLiteral("65")), 65000);
    EXPECT_EQ(intervalMsFromText(QStringLiteral("66")), 66000);
    EXPECT_EQ(intervalMsFromText(QStringLiteral("999")), 999000);
}

TEST(PageTimer, EnabledWithIntervalZeroNeverTicks) {
    PageTimer timer;
    QSignalSpy ticks(&timer, &PageTimer::tick);
    timer.setInterval(0);
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(timer.isTicking());
    QTest::qWait(100);
    EXPECT_EQ(ticks.count(), 0);

    timer.setInterval(20);  // a new interval applies to the enabled timer at once
    EXPECT_TRUE(timer.isTicking());
    ASSERT_TRUE(waitFor([&] { return ticks.count() >= 2; }, 1000));
    timer.setEnabled(false);
    const int after = static_cast<int>(ticks.count());
    QTest::qWait(80);
    EXPECT_EQ(ticks.count(), after);
    EXPECT_EQ(timer.interval(), 20);
}

TEST(PageTimer, LongIntervalsAreKeptExactly) {
    PageTimer timer;
    timer.setInterval(999000);
    timer.setEnabled(true);
    EXPECT_EQ(timer.interval(), 999000);
    EXPECT_TRUE(timer.isTicking());
}

TEST(EventGate, EventsDuringAHandlerWaitAndRunOnceEach) {
    EventGate gate;
    QStringList order;
    int receiveRuns = 0;
    const int receiveKind = 0, tickKind = 0;
    gate.run(&order, [&] {
        order << "click-start";
        // Inside the handler (as in a modal prompt's event loop) events arrive.
        gate.run(&receiveKind, [&] {
            ++receiveRuns;
            order << "receive";
        });
        gate.run(&receiveKind, [&] {
            ++receiveRuns;
            order << "receive";
        });
        gate.run(&tickKind, [&] { order << "tick"; });
        EXPECT_EQ(gate.heldCount(), 2);
        QTest::qWait(30);  // nested event loop: nothing held may run yet
        EXPECT_EQ(receiveRuns, 0);
        order << "click-end";
    });
    EXPECT_FALSE(gate.busy());
    ASSERT_TRUE(waitFor([&] { return gate.heldCount() == 0; }, 1000));
    EXPECT_EQ(order, (QStringList{"click-start", "click-end", "receive", "tick"}));
    EXPECT_EQ(receiveRuns, 1);
}
