// Mouse, keyboard and focus on a Bevelo, driven with real Qt events.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include "tests/widgets/BeveloTestSupport.h"

namespace {

class BeveloInput : public ::testing::Test {
  protected:
    void SetUp() override {
        Bevelo::setMouseTrackingAvailable(true);
        shown = std::make_unique<ShownBevelo>(&host);
        b = shown->button;
        clicks = std::make_unique<QSignalSpy>(b, &Bevelo::Click);
    }
    void sendKey(QEvent::Type type, int key, bool autoRepeat) {
        QKeyEvent e(type, key, Qt::NoModifier,
                    key == Qt::Key_Space ? QStringLiteral(" ") : QString(), autoRepeat);
        QApplication::sendEvent(b, &e);
    }

    RecordingHost host;
    std::unique_ptr<ShownBevelo> shown;
    Bevelo* b = nullptr;
    std::unique_ptr<QSignalSpy> clicks;
};

TEST_F(BeveloInput, LeftClickRaisesOneClickAfterTheReleaseAndLeavesTheButtonHot) {
    EXPECT_EQ(b->visualState(), StateNormal);
    QTest::mousePress(b, Qt::LeftButton);
    EXPECT_EQ(b->visualState(), StatePressed);
    EXPECT_EQ(clicks->count(), 0);
    QTest::mouseRelease(b, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(b->visualState(), StateHot);
    EXPECT_EQ(b->lastButtonReleased(), 1);
}

TEST_F(BeveloInput, ReleaseOutsideTheButtonIsNoClick) {
    QTest::mousePress(b, Qt::LeftButton);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(b->width() + 40, 5));
    EXPECT_EQ(clicks->count(), 0);
}

TEST_F(BeveloInput, RightAndMiddleButtonsChangeNothingAndAStrayClickNotificationRaisesNothing) {
    QTest::mouseClick(b, Qt::RightButton);
    EXPECT_EQ(b->visualState(), StateNormal);
    EXPECT_EQ(b->lastButtonReleased(), 2);
    b->clickNotification();
    QTest::mouseClick(b, Qt::MiddleButton);
    EXPECT_EQ(b->visualState(), StateNormal);
    b->clickNotification();
    EXPECT_EQ(clicks->count(), 0);
    // After a left release the same notification does click.
    QTest::mouseClick(b, Qt::LeftButton);
    b->clickNotification();
    EXPECT_EQ(clicks->count(), 2);
}

TEST_F(BeveloInput, DoubleClickShowsPressedButRaisesNoSecondClick) {
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseDClick(b, Qt::LeftButton);
    EXPECT_EQ(b->visualState(), StatePressed);
    QTest::mouseRelease(b, Qt::LeftButton);
    EXPECT_EQ(b->visualState(), StateHot);
    EXPECT_EQ(clicks->count(), 1);
}

TEST_F(BeveloInput, RightDoubleClickIsIgnored) {
    QTest::mouseClick(b, Qt::RightButton);
    QTest::mouseDClick(b, Qt::RightButton);
    QTest::mouseRelease(b, Qt::RightButton);
    EXPECT_EQ(b->visualState(), StateNormal);
    EXPECT_EQ(clicks->count(), 0);
}

TEST_F(BeveloInput, ToggleButtonStaysPressedWhileOnAndShowsHotWhenTurnedOff) {
    b->SetButtonType(1);
    QTest::mousePress(b, Qt::LeftButton);
    EXPECT_EQ(b->visualState(), StatePressed);
    QTest::mouseRelease(b, Qt::LeftButton);
    EXPECT_TRUE(b->Value());
    EXPECT_EQ(b->visualState(), StatePressed);
    EXPECT_EQ(clicks->count(), 1);

    QTest::mousePress(b, Qt::LeftButton);
    QTest::mouseRelease(b, Qt::LeftButton);
    EXPECT_FALSE(b->Value());
    EXPECT_EQ(b->visualState(), StateHot);
    EXPECT_EQ(clicks->count(), 2);
}

TEST_F(BeveloInput, HeldSpaceShowsPressedAndClicksOncePerPress) {
    sendKey(QEvent::KeyPress, Qt::Key_Space, false);
    EXPECT_EQ(b->visualState(), StatePressed);
    for (int i = 0; i < 5; ++i) {
        sendKey(QEvent::KeyRelease, Qt::Key_Space, true);
        sendKey(QEvent::KeyPress, Qt::Key_Space, true);
    }
    EXPECT_EQ(b->visualState(), StatePressed);
    EXPECT_EQ(clicks->count(), 0);
    sendKey(QEvent::KeyRelease, Qt::Key_Space, false);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(b->visualState(), StateHot);

    QTest::keyClick(b, Qt::Key_Space);
    EXPECT_EQ(clicks->count(), 2);
}

TEST_F(BeveloInput, SpaceClicksWhateverButtonWasReleasedBeforeAndTogglesAToggleButton) {
    QTest::mouseClick(b, Qt::RightButton);
    b->SetButtonType(1);
    QTest::keyClick(b, Qt::Key_Space);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_TRUE(b->Value());
    EXPECT_EQ(b->visualState(), StatePressed);
}

TEST_F(BeveloInput, EnterAndOtherKeysRaiseNothing) {
    QTest::keyClick(b, Qt::Key_Return);
    QTest::keyClick(b, Qt::Key_Enter);
    QTest::keyClick(b, Qt::Key_A);
    QTest::keyClick(b, Qt::Key_Apostrophe);
    QTest::keyClick(b, Qt::Key_Percent);
    EXPECT_EQ(clicks->count(), 0);
    EXPECT_EQ(b->visualState(), StateNormal);
}

TEST_F(BeveloInput, DisabledControlTakesNoInputAndShowsDisabled) {
    b->SetEnabled(false);
    EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(b->visualState(), StateDisabled);
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::keyClick(b, Qt::Key_Space);
    EXPECT_EQ(clicks->count(), 0);
    EXPECT_EQ(b->visualState(), StateDisabled);

    b->SetEnabled(true);
    EXPECT_EQ(b->visualState(), StateNormal);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 1);
}

TEST_F(BeveloInput, DisabledToggleThatIsOnDrawsDisabled) {
    b->SetButtonType(1);
    b->SetValue(true);
    EXPECT_EQ(b->visualState(), StatePressed);
    b->SetEnabled(false);
    EXPECT_EQ(b->visualState(), StateDisabled);
}

TEST_F(BeveloInput, ContainerDisabledDrawsDisabledWithoutChangingEnabled) {
    shown->window->setEnabled(false);
    EXPECT_EQ(b->visualState(), StateDisabled);
    EXPECT_TRUE(b->Enabled());
}

TEST_F(BeveloInput, FocusInAndOutAreTracked) {
    QApplication::setActiveWindow(shown->window.get());
    b->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(b->runtime().hasFocus);
    b->clearFocus();
    QApplication::processEvents();
    EXPECT_FALSE(b->runtime().hasFocus);
}

TEST_F(BeveloInput, ShowAndHideSetTheShownFlag) {
    EXPECT_TRUE(b->runtime().shown);
    b->hide();
    EXPECT_FALSE(b->runtime().shown);
    b->show();
    EXPECT_TRUE(b->runtime().shown);
}

TEST_F(BeveloInput, DisplayAsDefaultChangeReachesThePainter) {
    host.displayAsDefault = true;
    b->ambientPropertyChanged(QStringLiteral("DisplayAsDefault"));
    EXPECT_TRUE(b->runtime().displayAsDefault);
}

class BeveloKeyboardWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(400, 100);
        for (int i = 0; i < 3; ++i) {
            auto* button = new Bevelo(QStringLiteral("Bevelo%1").arg(i + 1), &window);
            button->setGeometry(10 + i * 130, 10, 120, 30);
            button->loadProperties(BeveloPropertyBag());
            buttons.append(button);
        }
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget window;
    QList<Bevelo*> buttons;
};

TEST_F(BeveloKeyboardWindow, RightAndLeftArrowsMoveTheFocusForwardAndBack) {
    buttons[1]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(buttons[1], Qt::Key_Right);
    EXPECT_EQ(window.focusWidget(), buttons[2]);
    QTest::keyClick(buttons[2], Qt::Key_Left);
    QTest::keyClick(buttons[1], Qt::Key_Left);
    EXPECT_EQ(window.focusWidget(), buttons[0]);
}

TEST_F(BeveloKeyboardWindow, AccessKeyClicksAndLeavesTheButtonNormal) {
    QSignalSpy second(buttons[1], &Bevelo::Click);
    QSignalSpy third(buttons[2], &Bevelo::Click);
    buttons[1]->SetCaption(QStringLiteral("&Start"));
    buttons[2]->SetCaption(QStringLiteral("S&top"));
    buttons[0]->setFocus();
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(second.count(), 1);
    EXPECT_EQ(buttons[1]->visualState(), StateNormal);
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(third.count(), 1);
    EXPECT_EQ(second.count(), 1);

    // A new caption moves the access key.
    buttons[1]->SetCaption(QStringLiteral("Sta&rt"));
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(second.count(), 1);
    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(second.count(), 2);
}

}  // namespace

namespace {
TEST_F(BeveloInput, ContainerEnabledAgainLeavesTheDisabledLook) {
    shown->window->setEnabled(false);
    shown->window->setEnabled(true);
    EXPECT_EQ(b->visualState(), StateNormal);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 1);
}
}  // namespace

namespace {
TEST_F(BeveloInput, ToggleTurnedOffByTheProgramNoLongerLooksPressed) {
    b->SetButtonType(1);
    QTest::mouseClick(b, Qt::LeftButton);
    ASSERT_TRUE(b->Value());
    ASSERT_EQ(b->visualState(), StatePressed);
    b->SetValue(false);
    EXPECT_EQ(b->visualState(), StateNormal);  // the pointer is not over it

    b->SetValue(true);
    EXPECT_EQ(b->visualState(), StatePressed);
    b->SetButtonType(0);
    EXPECT_EQ(b->visualState(), StateNormal);

    // A press in progress keeps its look.
    b->SetButtonType(1);
    QTest::mousePress(b, Qt::LeftButton);
    b->SetValue(false);
    EXPECT_EQ(b->visualState(), StatePressed);
    QTest::mouseRelease(b, Qt::LeftButton);
    EXPECT_TRUE(b->Value());
}
}  // namespace
