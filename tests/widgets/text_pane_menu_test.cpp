// The panes' context menu: selection, Copy, Select All, Clear, Save As.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "widgets/TextPane.h"

namespace {

QAction* action(const TextPane& pane, const char* name) {
    return pane.findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

TEST(TextPaneMenu, CopySelectAllAndClearActOnTheText) {
    TextPane pane;
    pane.resize(300, 100);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    EXPECT_FALSE(action(pane, "clearAction")->isEnabled()) << "nothing to clear yet";
    pane.appendUtf8("68 0A FF 16 ");

    // A mouse drag over the first row selects from where it began.
    const int y = pane.lineHeight() / 2 + 3;
    QTest::mousePress(pane.viewport(), Qt::LeftButton, {}, QPoint(1, y));
    QTest::mouseMove(pane.viewport(), QPoint(pane.viewport()->width() - 1, y));
    QTest::mouseRelease(pane.viewport(), Qt::LeftButton, {},
                        QPoint(pane.viewport()->width() - 1, y));
    EXPECT_EQ(pane.selectedText(), QStringLiteral("68 0A FF 16 "));

    pane.select(3, 5);
    QAccessibleTextInterface* ai = QAccessible::queryAccessibleInterface(&pane)->textInterface();
    int start = -1, end = -1;
    ai->selection(0, &start, &end);
    EXPECT_EQ(ai->selectionCount(), 1);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 5);
    QApplication::clipboard()->clear();
    action(pane, "copyAction")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("0A"));

    action(pane, "selectAllAction")->trigger();
    EXPECT_EQ(pane.selectedText(), pane.text());
    pane.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&pane));  // shortcuts need the active window
    pane.select(0, 2);
    pane.setFocus();
    QTest::keyClick(&pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("68"));

    action(pane, "clearAction")->trigger();
    EXPECT_EQ(pane.text(), QString());
    EXPECT_FALSE(pane.hasSelection());
    EXPECT_FALSE(action(pane, "copyAction")->isEnabled());
}

TEST(TextPaneMenu, SaveWritesTheTextAndReportsAFileItCannotWrite) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TextPane pane;
    pane.setText(QStringLiteral("Check Pass！\n68 0A "));
    const QString path = dir.filePath(QStringLiteral("pane.txt"));
    EXPECT_EQ(pane.saveTo(path), QString());
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), pane.text());

    const QString problem = pane.saveTo(dir.filePath(QStringLiteral("missing/pane.txt")));
    EXPECT_TRUE(problem.contains(QStringLiteral("pane.txt"))) << problem.toStdString();
}
