// The window's stored button layout: every button with its container,
// position, caption, style and colours, and a save that gives the same file.
#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <map>

#include "app/ButtonLayoutResource.h"
#include "tests/widgets/BeveloTestSupport.h"
#include "widgets/BeveloLayout.h"
#include "widgets/paint/SystemColors.h"

namespace {

struct Designed {
    const char* container;
    QRect twips;
    const char* caption;
    int style;
};

// The window's buttons as designed (style 3 where the design keeps the default).
const std::map<QString, Designed>& designedButtons() {
    static const std::map<QString, Designed> table{
        {"OpenCOomPort", {"setpage", {1080, 2640, 1335, 375}, "Connect", 7}},
        {"Bevelo5", {"setpage", {1080, 3480, 1335, 420}, "0", 8}},
        {"Bevelo6", {"setpage", {1080, 3960, 1335, 420}, "0", 8}},
        {"Bevelo9", {"Frame5", {120, 240, 2415, 615}, "on-product information", 9}},
        {"Bevelo7", {"Frame4", {120, 240, 975, 855}, "Help", 10}},
        {"Bevelo8", {"Frame4", {1560, 240, 975, 855}, "EXIT", 10}},
        {"Bevelo2", {"mainpage", {120, 240, 2295, 420}, "CJ188", 7}},
        {"Bevelo4", {"mainpage", {2400, 240, 2295, 420}, "EN1434", 7}},
        {"Bevelo1", {"CJ188", {4200, 480, 1935, 375}, "Read Data", 3}},
        {"Bevelo3", {"CJ188", {4200, 1320, 1935, 375}, "Read ID", 3}},
        {"Bevelo11", {"Frame6", {120, 360, 975, 495}, "Start", 7}},
        {"Bevelo12", {"Frame6", {120, 960, 975, 495}, "Stop", 7}},
        {"Bevelo17", {"EN1434", {4200, 480, 1935, 375}, "Read Data", 3}},
        {"Bevelo15", {"EN1434", {4200, 1320, 1935, 375}, "Modification ID", 3}},
        {"Bevelo13", {"Frame7", {120, 360, 975, 495}, "Start", 7}},
        {"Bevelo14", {"Frame7", {120, 960, 975, 495}, "Stop", 7}},
    };
    return table;
}

class ButtonLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        initButtonLayoutResource();
        QFile file(bevelo::kButtonLayoutResource);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        stored = file.readAll();
        QString error;
        entries = bevelo::parseButtonLayout(stored, &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        for (const auto& [name, d] : designedButtons()) {
            const QString container = QLatin1String(d.container);
            if (!containers.contains(container)) {
                containers.insert(container, new QWidget(&window));
            }
        }
        buttons = bevelo::createButtons(
            entries, [this](const QString& name) { return containers.value(name, nullptr); });
    }
    Bevelo* button(const QString& name) const {
        for (Bevelo* b : buttons)
            if (b->objectName() == name) return b;
        return nullptr;
    }

    QByteArray stored;
    QList<BeveloLayoutEntry> entries;
    QWidget window;
    QHash<QString, QWidget*> containers;
    QList<Bevelo*> buttons;
};

TEST_F(ButtonLayout, HoldsEveryButtonOfTheWindowOnceInItsContainer) {
    ASSERT_EQ(entries.size(), 16);
    ASSERT_EQ(buttons.size(), 16);
    QStringList seen;
    for (const auto& e : entries) {
        const auto it = designedButtons().find(e.name);
        ASSERT_NE(it, designedButtons().end()) << e.name.toStdString();
        EXPECT_FALSE(seen.contains(e.name)) << e.name.toStdString();
        seen.append(e.name);
        EXPECT_EQ(e.container, QLatin1String(it->second.container)) << e.name.toStdString();
        EXPECT_EQ(e.twips, it->second.twips) << e.name.toStdString();
    }
    EXPECT_FALSE(seen.contains(QStringLiteral("Bevelo10")));
    EXPECT_FALSE(seen.contains(QStringLiteral("Bevelo16")));
}

TEST_F(ButtonLayout, ButtonsLoadWithTheirDesignedCaptionStyleFontAndPlace) {
    for (const auto& [name, d] : designedButtons()) {
        Bevelo* b = button(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        EXPECT_EQ(b->parentWidget(), containers.value(QLatin1String(d.container)));
        EXPECT_EQ(b->Caption(), QString::fromUtf8(d.caption)) << name.toStdString();
        EXPECT_EQ(b->Style(), d.style) << name.toStdString();
        EXPECT_EQ(b->geometry(), QRect(d.twips.x() / 15, d.twips.y() / 15, d.twips.width() / 15,
                                       d.twips.height() / 15))
            << name.toStdString();
        EXPECT_EQ(b->Font().family(), QStringLiteral("Verdana"));
        EXPECT_DOUBLE_EQ(b->Font().pointSizeF(), 8.25);
        EXPECT_EQ(b->Font().weight(), QFont::Normal);
        EXPECT_TRUE(b->Icon().isNull());
        EXPECT_TRUE(b->isWatchingMouse());
    }
}

TEST_F(ButtonLayout, DesignedColoursAreStoredAndTheRestFollowTheSystem) {
    const auto face =
        static_cast<quint32>(bevelo::systemColor(bevelo::syscolor::ButtonFace, window.palette()));
    EXPECT_EQ(button("OpenCOomPort")->BackColor(), 0xFFFFFFu);
    EXPECT_EQ(button("Bevelo2")->BackColor(), 0xFFFFFFu);
    EXPECT_EQ(button("Bevelo4")->BackColor(), 0xFFFFFFu);
    EXPECT_TRUE(button("Bevelo2")->UseCustomColors());
    EXPECT_TRUE(button("Bevelo4")->UseCustomColors());
    EXPECT_EQ(button("Bevelo2")->FontColor(), 0x80000012u);  // the system button text
    EXPECT_EQ(button("Bevelo11")->BackColor(), 0x00FF00u);
    EXPECT_EQ(button("Bevelo13")->BackColor(), 0x00FF00u);
    EXPECT_EQ(button("Bevelo12")->BackColor(), face);
    EXPECT_EQ(button("Bevelo1")->BackColor(), face);
    EXPECT_FALSE(button("Bevelo1")->UseCustomColors());
    // Default-style buttons carry no Style key at all.
    for (const auto& e : entries)
        EXPECT_EQ(e.bag.contains(QStringLiteral("Style")), designedButtons().at(e.name).style != 3);
}

TEST_F(ButtonLayout, SavingTheLoadedButtonsGivesTheStoredFileByteForByte) {
    QList<BeveloLayoutEntry> saved;
    for (const auto& e : entries) saved.append(bevelo::captureButton(*button(e.name), e.container));
    EXPECT_EQ(saved, entries);
    EXPECT_EQ(bevelo::serializeButtonLayout(saved), stored);
}

TEST_F(ButtonLayout, AChangedCaptionIsSavedAndLoadsBack) {
    button("Bevelo5")->SetCaption(QStringLiteral("1234"));
    QList<BeveloLayoutEntry> saved;
    for (const auto& e : entries) saved.append(bevelo::captureButton(*button(e.name), e.container));
    const QByteArray changed = bevelo::serializeButtonLayout(saved);
    EXPECT_NE(changed, stored);
    const auto reread = bevelo::parseButtonLayout(changed);
    ASSERT_EQ(reread.size(), 16);
    for (const auto& e : reread) {
        if (e.name == QStringLiteral("Bevelo5")) {
            EXPECT_EQ(e.bag.readString(QStringLiteral("Caption"), {}), QStringLiteral("1234"));
        }
    }
}

TEST(ButtonLayoutParsing, MalformedDocumentsAreRefusedWithAReason) {
    const char* broken[] = {
        "not json",
        R"({"things": []})",
        R"({"buttons": [5]})",
        R"({"buttons": [{"name": "B", "container": "c", "twips": [1, 2, 3], "bag": {}}]})",
        R"({"buttons": [{"name": "B", "container": "c", "twips": [1, 2, 3, "4"], "bag": {}}]})",
        R"({"buttons": [{"name": "B", "container": "c", "twips": [1, 2, 3, 4], "bag": 7}]})",
        R"({"buttons": [{"container": "c", "twips": [1, 2, 3, 4], "bag": {}}]})",
    };
    for (const char* doc : broken) {
        QString error;
        EXPECT_TRUE(bevelo::parseButtonLayout(doc, &error).isEmpty()) << doc;
        EXPECT_FALSE(error.isEmpty()) << doc;
    }
    QString error;
    EXPECT_TRUE(
        bevelo::loadButtonLayout(QStringLiteral("/nonexistent/buttons.json"), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ButtonLayoutParsing, ButtonsOfUnknownContainersAreSkippedAndNamed) {
    const auto entries = bevelo::parseButtonLayout(
        R"({"buttons": [{"name": "B1", "container": "here", "twips": [15, 30, 300, 450], "bag": {}},
                        {"name": "B2", "container": "gone", "twips": [0, 0, 300, 300], "bag": {}}]})");
    ASSERT_EQ(entries.size(), 2);
    QWidget here;
    QStringList missing;
    const auto buttons = bevelo::createButtons(
        entries, [&](const QString& n) { return n == "here" ? &here : nullptr; }, nullptr,
        &missing);
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->geometry(), QRect(1, 2, 20, 30));
    EXPECT_EQ(buttons[0]->Caption(), QStringLiteral("Bevelo"));
    EXPECT_EQ(buttons[0]->Style(), 3);
    EXPECT_EQ(missing, QStringList{QStringLiteral("B2")});
}

}  // namespace
