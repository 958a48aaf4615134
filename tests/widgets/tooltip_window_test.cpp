// The Bevelo tooltip window: shape, title row, colours and its life over the owner.
#include <gtest/gtest.h>

#include <QCursor>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <memory>

#include "widgets/tooltip/BeveloToolTip.h"

namespace {

struct Owner {
    std::unique_ptr<QWidget> widget = std::make_unique<QWidget>();
    Owner() {
        QCursor::setPos(5000, 5000);  // far from the owner: the stem aims at its centre
        widget->setGeometry(200, 200, 120, 40);
        widget->show();
    }
};

BeveloToolTipLook lookOf(int type, QString title = {}, int icon = 0) {
    BeveloToolTipLook look;
    look.text = QStringLiteral("Opens the serial port");
    look.type = type;
    look.title = title;
    look.icon = icon;
    return look;
}

QImage shot(BeveloToolTip& tip) {
    return tip.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool anyPixelIs(const QImage& img, const QRect& area, QColor c) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixelColor(x, y) == c) return true;
    return false;
}

void sendTo(QWidget* w, QEvent::Type type) {
    QEvent e(type);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

TEST(TooltipShape, RectangleHasNoMaskAndBalloonIsMaskedWithStemAtTheControl) {
    Owner owner;
    BeveloToolTip rect(owner.widget.get(), lookOf(0));
    rect.popUp();
    EXPECT_TRUE(rect.mask().isEmpty());
    EXPECT_EQ(QRegion(rect.outline()), QRegion(rect.rect()));

    BeveloToolTip balloon(owner.widget.get(), lookOf(1));
    balloon.popUp();
    const QRegion mask = balloon.mask();
    ASSERT_FALSE(mask.isEmpty());
    // Rounded corners and the area beside the stem are cut away.
    EXPECT_FALSE(mask.contains(QPoint(0, balloon.height() - 1)));
    EXPECT_FALSE(mask.contains(QPoint(balloon.width() - 1, balloon.height() - 1)));
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    // The stem's point touches the control's centre.
    const QPoint ownerCentre =
        QRect(owner.widget->mapToGlobal(QPoint(0, 0)), owner.widget->size()).center();
    EXPECT_EQ(balloon.stemTipGlobal(), ownerCentre);
    const QPoint stemLocal = balloon.mapFromGlobal(balloon.stemTipGlobal());
    EXPECT_TRUE(mask.contains(stemLocal + QPoint(0, 2)) || mask.contains(stemLocal - QPoint(0, 2)));
    // The balloon is taller than its body by the stem.
    EXPECT_GT(balloon.height(), rect.height());
}

TEST(TooltipShape, BalloonFlipsAboveTheControlNearTheScreenBottom) {
    Owner owner;
    const QRect screen = owner.widget->screen()->availableGeometry();
    owner.widget->move(300, screen.bottom() - 30);
    BeveloToolTip balloon(owner.widget.get(), lookOf(1));
    balloon.popUp();
    EXPECT_LE(balloon.geometry().bottom(), screen.bottom());
    // Stem at the bottom: its point is the window's last row.
    EXPECT_EQ(balloon.stemTipGlobal().y(), balloon.geometry().bottom());
}

TEST(TooltipTitle, TitleRowOnlyWithTitleOrIconAndTheRightStandardIcon) {
    Owner owner;
    BeveloToolTip plain(owner.widget.get(), lookOf(0));
    EXPECT_FALSE(plain.hasTitleRow());

    BeveloToolTip titled(owner.widget.get(), lookOf(0, QStringLiteral("Port")));
    EXPECT_TRUE(titled.hasTitleRow());
    EXPECT_FALSE(titled.hasTitleIcon());
    EXPECT_GT(titled.height(), plain.height());

    // Empty title with the warning icon: the row is there with the icon alone.
    BeveloToolTip warn(owner.widget.get(), lookOf(0, QString(), 2));
    ASSERT_TRUE(warn.hasTitleRow());
    ASSERT_TRUE(warn.hasTitleIcon());
    EXPECT_GT(warn.height(), plain.height());

    // The icon drawn is the style's warning icon, not the information or error one.
    const QImage img = shot(warn);
    auto iconImage = [&](QStyle::StandardPixmap sp) {
        QImage ref(16, 16, QImage::Format_RGB32);
        ref.fill(warn.backgroundColor());
        QPainter p(&ref);
        warn.style()->standardIcon(sp, nullptr, &warn).paint(&p, QRect(0, 0, 16, 16));
        return ref;
    };
    QImage drawn;
    for (int y = 0; y + 16 <= img.height() && drawn.isNull(); ++y)
        for (int x = 0; x + 16 <= img.width(); ++x)
            if (img.copy(x, y, 16, 16) == iconImage(QStyle::SP_MessageBoxWarning)) {
                drawn = img.copy(x, y, 16, 16);
                break;
            }
    ASSERT_FALSE(drawn.isNull()) << "warning icon not found in the tooltip";
    EXPECT_NE(drawn, iconImage(QStyle::SP_MessageBoxCritical));

    BeveloToolTip none(owner.widget.get(), lookOf(0, QStringLiteral("T"), 7));
    EXPECT_TRUE(none.hasTitleRow());
    EXPECT_FALSE(none.hasTitleIcon());
}

TEST(TooltipColours, ZeroKeepsSystemColoursAndOtherValuesAreRedFirst) {
    Owner owner;
    const QPalette sys = QToolTip::palette();
    BeveloToolTip def(owner.widget.get(), lookOf(0));
    EXPECT_EQ(def.backgroundColor(), sys.color(QPalette::ToolTipBase));
    EXPECT_EQ(def.textColor(), sys.color(QPalette::ToolTipText));
    QImage img = shot(def);
    EXPECT_EQ(img.pixelColor(3, img.height() - 3), sys.color(QPalette::ToolTipBase));

    // White text on the default background is applied as is.
    BeveloToolTipLook white = lookOf(1);
    white.foreColor = 0xFFFFFF;
    BeveloToolTip w(owner.widget.get(), white);
    EXPECT_EQ(w.textColor(), QColor(255, 255, 255));
    EXPECT_EQ(w.backgroundColor(), sys.color(QPalette::ToolTipBase));
    img = shot(w);
    EXPECT_TRUE(anyPixelIs(img, img.rect(), Qt::white));

    // Stored colours keep red in the low byte.
    BeveloToolTipLook red = lookOf(0);
    red.backColor = 0x0000FF;
    red.foreColor = 0xFF0000;
    BeveloToolTip r(owner.widget.get(), red);
    EXPECT_EQ(r.backgroundColor(), QColor(255, 0, 0));
    EXPECT_EQ(r.textColor(), QColor(0, 0, 255));
    img = shot(r);
    EXPECT_EQ(img.pixelColor(img.width() / 2, img.height() - 2), QColor(255, 0, 0));

    // A system colour reference is looked up (24 = tooltip background).
    EXPECT_EQ(BeveloToolTip::colorFromOle(0x80000018u, sys), sys.color(QPalette::ToolTipBase));
}

TEST(TooltipLife, ShowsAfterTheHoverDelayOnlyWhileThePointerStays) {
    Owner owner;
    BeveloToolTip tip(owner.widget.get(), lookOf(1));
    EXPECT_EQ(tip.wakeUpDelay(),
              tip.style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, owner.widget.get()));
    EXPECT_FALSE(tip.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip.isVisible(); }, tip.wakeUpDelay() + 2000));
    EXPECT_TRUE(tip.isWindow());
    EXPECT_EQ(tip.windowType(), Qt::ToolTip);

    sendTo(owner.widget.get(), QEvent::Leave);
    EXPECT_FALSE(tip.isVisible());

    // Re-entering arms it again; leaving before the delay keeps it hidden.
    sendTo(owner.widget.get(), QEvent::Enter);
    sendTo(owner.widget.get(), QEvent::Leave);
    QTest::qWait(tip.wakeUpDelay() + 200);
    EXPECT_FALSE(tip.isVisible());
}

TEST(TooltipLife, GoesAwayWithItsOwner) {
    auto owner = std::make_unique<Owner>();
    QPointer<BeveloToolTip> tip = new BeveloToolTip(owner->widget.get(), lookOf(0));
    tip->popUp();
    ASSERT_TRUE(tip->isVisible());
    owner.reset();
    EXPECT_TRUE(tip.isNull());
}

TEST(TooltipLife, EmptyTextShowsNothingEvenWithATitle) {
    Owner owner;
    BeveloToolTipLook look = lookOf(1, QStringLiteral("Title"), 1);
    look.text.clear();
    BeveloToolTip tip(owner.widget.get(), look);
    tip.popUp();
    EXPECT_FALSE(tip.isVisible());
    QTest::qWait(tip.wakeUpDelay() + 200);
    EXPECT_FALSE(tip.isVisible());
}

TEST(TooltipLife, AClickOnTheControlDismissesTheTipUntilThePointerReturns) {
    Owner owner;
    BeveloToolTip tip(owner.widget.get(), lookOf(0));
    tip.popUp();
    ASSERT_TRUE(tip.isVisible());
    QTest::mousePress(owner.widget.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(tip.isVisible());
    QTest::qWait(tip.wakeUpDelay() + 200);
    EXPECT_FALSE(tip.isVisible());  // no new tip while the pointer stays after the click
    sendTo(owner.widget.get(), QEvent::Leave);
    sendTo(owner.widget.get(), QEvent::Enter);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip.isVisible(); }, tip.wakeUpDelay() + 2000));
}
