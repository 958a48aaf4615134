// The received-data pane: exact text, incremental wrapping, accessibility.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QFontMetrics>
#include <QRandomGenerator>
#include <QScrollBar>

#include "tests/support/qt/WaitFor.h"
#include "widgets/TextPane.h"
#include "core/HexText.h"

namespace {

// Rows joined back give the text; no row is wider than the pane unless it is one unbreakable piece.
void expectRowsCoverText(const TextPane& pane) {
    QString joined;
    for (int r = 0; r < pane.rowCount(); ++r) joined += pane.rowText(r);
    EXPECT_EQ(joined, pane.text());
}

}  // namespace

TEST(TextPane, KeepsTheExactTextThroughAppendReplaceAndClear) {
    TextPane pane;
    pane.resize(300, 100);
    EXPECT_EQ(pane.text(), QString());
    pane.appendUtf8("68 01 ");
    pane.appendUtf8("02 ");
    EXPECT_EQ(pane.text(), QStringLiteral("68 01 02 "));
    EXPECT_EQ(pane.length(), 9);
    pane.setText(QStringLiteral("Check Pass！"));
    EXPECT_EQ(pane.text(), QStringLiteral("Check Pass！"));
    EXPECT_EQ(pane.length(), 11);
    pane.appendText(QStringLiteral(" ok"));
    EXPECT_EQ(pane.text(), QStringLiteral("Check Pass！ ok"));
    EXPECT_EQ(pane.textRange(6, 12), QStringLiteral("Pass！ "));
    pane.clear();
    EXPECT_EQ(pane.text(), QString());
    EXPECT_EQ(pane.rowCount(), 1);
    pane.appendText(QStringLiteral("AB "));
    EXPECT_EQ(pane.textRange(0, 100), QStringLiteral("AB "));
}

TEST(TextPane, WrapsAtBlanksWithinThePaneWidthAndFollowsTheEnd) {
    TextPane pane;
    pane.resize(200, 60);
    pane.show();
    const QFontMetrics fm(pane.font());
    std::string echo;
    for (int i = 0; i < 500; ++i) {
        const std::uint8_t b = static_cast<std::uint8_t>(i * 37);
        mb::appendHexEcho(echo, std::span(&b, 1));
        if (i % 7 == 0) {  // uneven receive events
            pane.appendUtf8(echo);
            echo.clear();
        }
    }
    pane.appendUtf8(echo);
    ASSERT_GT(pane.rowCount(), 10);
    expectRowsCoverText(pane);
    const int width = pane.viewport()->width();
    for (int r = 0; r < pane.rowCount(); ++r) {
        const QString row = pane.rowText(r);
        EXPECT_EQ(row.size() % 3, 0) << "row " << r << " splits a byte: " << row.toStdString();
        EXPECT_LE(fm.horizontalAdvance(row.trimmed()), width) << "row " << r;
    }
    // The view catches up with the end within a frame.
    const QScrollBar* bar = pane.verticalScrollBar();
    ASSERT_TRUE(
        waitFor([&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); }, 1000));
    EXPECT_EQ(bar->maximum(), pane.rowCount() - bar->pageStep());

    // Same rows as laying out the whole text at once.
    TextPane fresh;
    fresh.resize(200, 60);
    fresh.show();
    fresh.setText(pane.text());
    ASSERT_TRUE(
        waitFor([&] { return fresh.viewport()->width() == pane.viewport()->width(); }, 1000));
    ASSERT_EQ(fresh.rowCount(), pane.rowCount());
    for (int r = 0; r < pane.rowCount(); ++r) EXPECT_EQ(fresh.rowText(r), pane.rowText(r));
}

TEST(TextPane, ResizingRewrapsAndAWordWiderThanThePaneIsCut) {
    TextPane pane;
    pane.resize(400, 80);
    pane.show();
    pane.setText(QString(200, QLatin1Char('A')) + QStringLiteral(" 01 02"));
    const int wideRows = pane.rowCount();
    EXPECT_GT(wideRows, 1);
    expectRowsCoverText(pane);
    pane.resize(120, 80);
    EXPECT_GT(pane.rowCount(), wideRows);
    expectRowsCoverText(pane);
}

TEST(TextPane, AssistiveTechnologyReadsTheTextThroughTheTextInterface) {
    TextPane pane;
    pane.setAccessibleName(QStringLiteral("Received Data"));
    pane.resize(300, 100);
    pane.show();
    pane.appendUtf8("68 0A FF ");
    QAccessibleInterface* ai = QAccessible::queryAccessibleInterface(&pane);
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->text(QAccessible::Name), QStringLiteral("Received Data"));
    QAccessibleTextInterface* text = ai->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 9);
    EXPECT_EQ(text->text(0, 9), QStringLiteral("68 0A FF "));
    EXPECT_EQ(text->text(3, 5), QStringLiteral("0A"));
    EXPECT_TRUE(ai->state().readOnly);
    const QRect first = text->characterRect(0);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(text->offsetAtPoint(first.center()), 0);
    pane.appendUtf8("16 ");
    EXPECT_EQ(text->characterCount(), 12);
}

TEST(TextPane, LongRandomEchoStaysExact) {
    TextPane pane;
    pane.resize(680, 170);
    pane.show();
    std::string all;
    QRandomGenerator rng(7);
    for (int event = 0; event < 2000; ++event) {
        std::uint8_t bytes[64];
        const int n = 1 + static_cast<int>(rng.bounded(64));
        for (int i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(rng.bounded(256));
        std::string echo;
        mb::appendHexEcho(echo, std::span(bytes, static_cast<std::size_t>(n)));
        pane.appendUtf8(echo);
        all += echo;
    }
    EXPECT_EQ(pane.text().toStdString(), all);
    expectRowsCoverText(pane);
}
