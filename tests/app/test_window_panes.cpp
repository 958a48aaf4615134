// The window's panes: their menus, the time-stamped receive events, the
// remembered reply timeout and the room they take in a larger window.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/WatchPane.h"
#include "tests/app/FormHarness.h"
#include "tests/support/qt/DataHome.h"

namespace {

QAction* action(const QWidget* pane, const char* name) {
    return pane->findChild<QAction*>(QString::fromLatin1(name));
}

// Every named widget's geometry, relative to its parent.
QMap<QString, QRect> geometries(const QWidget* window) {
    QMap<QString, QRect> all;
    for (const QWidget* w : window->findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
            !w->isWindow())
            all.insert(w->objectName(), w->geometry());
    return all;
}

}  // namespace

TEST(WindowPanes, EveryPaneHasItsMenuAndTheReplyPanesTheirOwnEntries) {
    FormHarness h{QString()};
    for (TextPane* pane :
         {h.c().RichTextBox1, h.c().RichTextBox2, h.c().RichTextBox3, h.c().RichTextBox4}) {
        SCOPED_TRACE(pane->objectName().toStdString());
        for (const char* name : {"copyAction", "selectAllAction", "saveAsAction", "clearAction"})
            EXPECT_NE(action(pane, name), nullptr) << name;
    }
    EXPECT_NE(action(h.c().RichTextBox2, "timeStampsAction"), nullptr);
    EXPECT_NE(action(h.c().RichTextBox3, "replyTimeoutAction"), nullptr);

    // The records folder is made if missing, then handed to the desktop.
    TempDataHome dataHome;
    QList<QUrl> opened;
    h.form->receivedPane().setUrlOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    action(h.c().RichTextBox2, "openRecordsFolderAction")->trigger();
    const QString folder = dataHome.logsFolder();
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
}

TEST(WindowPanes, AReceiveEventWithTimeStampsOnIsOneStampedLine) {
    FormHarness h{QString()};
    h.form->receiveBytes(QByteArray::fromHex("6842"));
    action(h.c().RichTextBox2, "timeStampsAction")->trigger();
    h.form->receiveBytes(QByteArray::fromHex("E516"));
    const QStringList lines = h.c().RichTextBox2->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("68 42 "));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^\[\d\d:\d\d:\d\d\.\d\d\d\] E5 16 $)"))
                    .match(lines[1])
                    .hasMatch())
        << lines[1].toStdString();
}

TEST(WindowPanes, TheReplyTimeoutIsRememberedWithinItsRange) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    const struct {
        std::optional<double> chosen, kept;
    } cases[] = {{2.5, 2.5}, {0.01, 0.1}, {600.0, 60.0}, {std::nullopt, std::nullopt}};
    for (const auto& c : cases) {
        ReplyTimeoutSetting setting(path);
        QSignalSpy changed(&setting, &ReplyTimeoutSetting::changed);
        setting.set(c.chosen);
        EXPECT_EQ(setting.seconds(), c.kept);
        EXPECT_EQ(ReplyTimeoutSetting(path).seconds(), c.kept) << "not remembered";
        setting.set(c.chosen);
        EXPECT_EQ(changed.count(), 1) << "a choice that changes nothing is no change";
    }
    QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("replyTimeoutSeconds"), "soon");
    EXPECT_EQ(ReplyTimeoutSetting(path).seconds(), std::nullopt);
}

TEST(WindowPanes, AnEnlargedWindowGivesTheRoomToThePanes) {
    FormHarness h{QString()};
    MainForm& f = *h.form;
    EXPECT_EQ(f.minimumSize(), QSize(912, 606));
    const QMap<QString, QRect> designed = geometries(&f);

    f.resize(1400, 900);
    const QMap<QString, QRect> large = geometries(&f);
    const int dx = 1400 - 912, dy = 900 - 606;
    for (const char* pane : {"RichTextBox1", "RichTextBox2", "RichTextBox3", "RichTextBox4"})
        EXPECT_EQ(large[pane].width(), designed[pane].width() + dx) << pane;
    EXPECT_EQ(large["RichTextBox2"].height() + large["RichTextBox3"].height(),
              designed["RichTextBox2"].height() + designed["RichTextBox3"].height() + dy);
    // Data Analysis, where the readings are watched, takes more of it than Received Data.
    EXPECT_GT(large["RichTextBox3"].height() - designed["RichTextBox3"].height(),
              large["RichTextBox2"].height() - designed["RichTextBox2"].height());
    // Data Analysis still ends where the main panel's margin begins.
    EXPECT_EQ(large["mainpage"].height() - large["Frame2"].bottom(),
              designed["mainpage"].height() - designed["Frame2"].bottom());
    // Only the panes and what holds them change; the rest stays put.
    QSet<QString> holders;
    for (const char* pane : {"RichTextBox1", "RichTextBox2", "RichTextBox3", "RichTextBox4"})
        for (QWidget* w = f.findChild<QWidget*>(pane); w != &f; w = w->parentWidget())
            holders.insert(w->objectName());
    // The history's button rides at the right end of Data Analysis's title line.
    holders.insert(QStringLiteral("watchToggle"));
    EXPECT_EQ(large["watchToggle"].translated(-dx, 0), designed["watchToggle"]);
    for (auto it = designed.begin(); it != designed.end(); ++it)
        if (!holders.contains(it.key())) {
            EXPECT_EQ(large[it.key()], it.value()) << it.key().toStdString();
        }

    f.resize(912, 606);
    EXPECT_EQ(geometries(&f), designed);
}

// Shown, the history widens the designed window and sits right of the main
// panel, the designed layout untouched; hidden, the window is as designed again.
TEST(WindowPanes, TheHistoryPaneWidensTheWindowAndLeavesTheLayoutAlone) {
    FormHarness h{QString()};
    MainForm& f = *h.form;
    const auto geometries = [&f] {
        QMap<QString, QRect> layout = ::geometries(&f);
        for (const char* inPane : {"WatchPane", "ReadingHistory", "TrendChart"}) layout.remove(inPane);
        return layout;
    };
    const QMap<QString, QRect> designed = geometries();
    f.watchPane().setShown(true);
    EXPECT_EQ(f.size(), QSize(912 + WatchPane::kMinWidth, 606));
    const QRect pane = f.watchPane().geometry();
    EXPECT_GT(pane.left(), f.findChild<QWidget*>(QStringLiteral("mainpage"))->geometry().right());
    EXPECT_LE(pane.right(), f.width());
    EXPECT_TRUE(f.watchPane().isVisible());
    QMap<QString, QRect> shown = geometries();
    for (auto it = designed.begin(); it != designed.end(); ++it)
        EXPECT_EQ(shown[it.key()], it.value()) << it.key().toStdString();
    f.watchPane().setShown(false);
    EXPECT_EQ(f.size(), QSize(912, 606));
    EXPECT_EQ(geometries(), designed);
}
