// Bevelo as assistive technology sees it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QSignalSpy>

#include "tests/widgets/BeveloTestSupport.h"
#include "widgets/BeveloAccessible.h"

namespace {

QList<QPair<QObject*, QAccessible::Event>> g_events;
void recordEvent(QAccessibleEvent* e) {
    g_events.append({e->object(), e->type()});
}

class BeveloAccessibility : public ::testing::Test {
  protected:
    void SetUp() override {
        shown = std::make_unique<ShownBevelo>();
        b = shown->button;
        b->SetCaption(QStringLiteral("0"));
        iface = QAccessible::queryAccessibleInterface(b);
        ASSERT_NE(iface, nullptr);
    }
    std::unique_ptr<ShownBevelo> shown;
    Bevelo* b = nullptr;
    QAccessibleInterface* iface = nullptr;
};

TEST_F(BeveloAccessibility, IsAPushButtonNamedByItsLiveCaptionAndDescribedByItsName) {
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("0"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("Bevelo1"));
    b->SetCaption(QStringLiteral("1024"));
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("1024"));
    b->SetCaption(QStringLiteral("&Read && Write"));
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Read & Write"));
    b->setAccessibleDescription(QStringLiteral("explicit"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("explicit"));
}

TEST_F(BeveloAccessibility, CaptionChangeRaisesNameChanged) {
    g_events.clear();
    const auto previous = bevelo::setAccessibleEventObserver(recordEvent);
    b->SetCaption(QStringLiteral("7"));
    b->SetStyle(5);  // not a name change
    bevelo::setAccessibleEventObserver(previous);
    ASSERT_EQ(g_events.size(), 1);
    EXPECT_EQ(g_events[0].first, b);
    EXPECT_EQ(g_events[0].second, QAccessible::NameChanged);
}

TEST_F(BeveloAccessibility, PressActionQueuesTheClick) {
    QSignalSpy clicks(b, &Bevelo::Click);
    auto* actions = iface->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 0);  // not inside the call
    QApplication::processEvents();
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(b->visualState(), StateNormal);
}

TEST_F(BeveloAccessibility, ToggleStateAndDisabledControlOffersNoAction) {
    b->SetButtonType(1);
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_TRUE(iface->state().checked);

    QSignalSpy clicks(b, &Bevelo::Click);
    b->SetEnabled(false);
    EXPECT_TRUE(iface->actionInterface()->actionNames().isEmpty());
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_EQ(clicks.count(), 0);
}

}  // namespace
