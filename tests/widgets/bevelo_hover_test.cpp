// Mouse entry and exit over a Bevelo and its tooltip wiring, with the
// pointer moved by real Qt mouse events.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "tests/widgets/BeveloTestSupport.h"
#include "widgets/tooltip/BeveloToolTip.h"

namespace {

class BeveloHover : public ::testing::Test {
  protected:
    void load(const BeveloPropertyBag& bag = {}) {
        shown = std::make_unique<ShownBevelo>(nullptr, bag);
        b = shown->button;
        enters = std::make_unique<QSignalSpy>(b, &Bevelo::MouseEnter);
        leaves = std::make_unique<QSignalSpy>(b, &Bevelo::MouseLeave);
    }
    void TearDown() override { Bevelo::setMouseTrackingAvailable(true); }

    // Moves the pointer to a point of the window, as the window system does.
    void moveTo(QPoint inWindow) {
        QTest::mouseMove(shown->window->windowHandle(), inWindow);
        QApplication::processEvents();
    }
    QPoint inside(int dx = 0) const { return b->geometry().center() + QPoint(dx, 0); }
    QPoint outside() const { return QPoint(250, 150); }

    std::unique_ptr<ShownBevelo> shown;
    Bevelo* b = nullptr;
    std::unique_ptr<QSignalSpy> enters;
    std::unique_ptr<QSignalSpy> leaves;
};

TEST_F(BeveloHover, MouseEnterOncePerEntryAndMouseLeaveOnExit) {
    load();
    moveTo(outside());
    moveTo(inside());
    moveTo(inside(5));
    moveTo(inside(-7));
    EXPECT_EQ(enters->count(), 1);
    EXPECT_EQ(b->visualState(), StateHot);
    EXPECT_TRUE(b->runtime().mouseInside);

    moveTo(outside());
    EXPECT_EQ(leaves->count(), 1);
    EXPECT_EQ(b->visualState(), StateNormal);
    EXPECT_FALSE(b->runtime().mouseInside);

    moveTo(inside());
    EXPECT_EQ(enters->count(), 2);
}

TEST_F(BeveloHover, WithoutMouseTrackingThereIsNoHoverAndNoEnterOrLeave) {
    Bevelo::setMouseTrackingAvailable(false);
    load();
    EXPECT_FALSE(b->isWatchingMouse());
    moveTo(outside());
    moveTo(inside());
    moveTo(outside());
    EXPECT_EQ(enters->count(), 0);
    EXPECT_EQ(leaves->count(), 0);
    EXPECT_EQ(b->visualState(), StateNormal);
    // Clicking still works and leaves the usual hot look.
    QSignalSpy clicks(b, &Bevelo::Click);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(BeveloHover, AtDesignTimeTheControlDoesNotWatchTheMouse) {
    RecordingHost designer;
    designer.userMode = false;
    shown = std::make_unique<ShownBevelo>(&designer);
    EXPECT_FALSE(shown->button->isWatchingMouse());
    shown.reset();  // the control must go before the host it was given
}

TEST_F(BeveloHover, ThePointerOverTheControlTakesTheWindowsToolTipTextIntoItsOwnTooltip) {
    BeveloPropertyBag bag;
    bag.writeString(QStringLiteral("ToolTipText"), QStringLiteral("Open the port"), QString());
    bag.writeString(QStringLiteral("Tooltiptitle"), QStringLiteral("Port"), std::nullopt);
    bag.writeInt(QStringLiteral("ToolTipIcon"), 2, std::nullopt);
    bag.writeInt(QStringLiteral("ToolTipType"), 0, std::nullopt);
    load(bag);
    EXPECT_EQ(b->toolTip(), QStringLiteral("Open the port"));
    EXPECT_EQ(b->toolTipWindow(), nullptr);

    moveTo(outside());
    moveTo(inside());
    EXPECT_EQ(b->toolTip(), QString());
    ASSERT_NE(b->toolTipWindow(), nullptr);
    EXPECT_EQ(b->toolTipWindow()->look().text, QStringLiteral("Open the port"));
    EXPECT_EQ(b->toolTipWindow()->look().title, QStringLiteral("Port"));
    EXPECT_EQ(b->toolTipWindow()->look().icon, 2);
    EXPECT_EQ(b->toolTipWindow()->look().type, 0);

    moveTo(outside());
    EXPECT_EQ(b->toolTip(), QStringLiteral("Open the port"));
    EXPECT_EQ(b->toolTipWindow(), nullptr);
}

TEST_F(BeveloHover, HidingGivesTheTextBackButKeepsNoOtherState) {
    load();
    b->setToolTip(QStringLiteral("Counts bytes"));
    moveTo(outside());
    moveTo(inside());
    EXPECT_EQ(b->toolTip(), QString());
    b->hide();
    EXPECT_EQ(b->toolTip(), QStringLiteral("Counts bytes"));
}

TEST_F(BeveloHover, SettingToolTipTextWhileOverTheControlRebuildsTheTooltip) {
    load();
    moveTo(outside());
    moveTo(inside());
    QPointer<BeveloToolTip> first = b->toolTipWindow();
    ASSERT_TRUE(first);
    b->SetToolTipText(QStringLiteral("New text"));
    EXPECT_TRUE(first.isNull());  // the earlier window is gone
    ASSERT_NE(b->toolTipWindow(), nullptr);
    EXPECT_EQ(b->toolTipWindow()->look().text, QStringLiteral("New text"));
    EXPECT_EQ(b->ToolTipText(), QStringLiteral("New text"));
    EXPECT_EQ(b->toolTip(), QString());
    moveTo(outside());
    EXPECT_EQ(b->toolTip(), QStringLiteral("New text"));
}

TEST_F(BeveloHover, ToolTipTextSetWithThePointerElsewhereIsShownOnTheNextEntry) {
    load();
    b->SetToolTipText(QStringLiteral("Later"));
    EXPECT_EQ(b->ToolTipText(), QStringLiteral("Later"));
    EXPECT_EQ(b->toolTipWindow(), nullptr);
    moveTo(outside());
    moveTo(inside());
    ASSERT_NE(b->toolTipWindow(), nullptr);
    EXPECT_EQ(b->toolTipWindow()->look().text, QStringLiteral("Later"));
}

TEST_F(BeveloHover, PaletteAndStyleChangesRepaintOnlyWhenTheControlWatchesItsWindow) {
    load();
    QPalette pal = b->palette();
    pal.setColor(QPalette::Button, QColor(10, 20, 30));
    int before = b->refreshCount();
    b->setPalette(pal);
    EXPECT_EQ(b->refreshCount(), before + 1);
    before = b->refreshCount();
    QEvent styleChange(QEvent::StyleChange);
    QApplication::sendEvent(b, &styleChange);
    EXPECT_EQ(b->refreshCount(), before + 1);

    Bevelo::setMouseTrackingAvailable(false);
    load();
    before = b->refreshCount();
    b->setPalette(pal);
    QApplication::sendEvent(b, &styleChange);
    EXPECT_EQ(b->refreshCount(), before);
}

}  // namespace
