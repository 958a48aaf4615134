// The Bevelo About panel: a top-level window that a click puts away.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <memory>

#include "widgets/about/BeveloAboutPanel.h"

namespace {

QColor shifted(QColor c, int d) {
    auto ch = [d](int v) { return std::clamp(v + d, 0, 255); };
    return QColor(ch(c.red()), ch(c.green()), ch(c.blue()));
}

}  // namespace

TEST(AboutPanel, ShowsAsTitledTopLevelWindowAndHidesOnClick) {
    QWidget control;
    control.resize(80, 30);
    control.show();
    auto* panel = new BeveloAboutPanel(&control);
    EXPECT_FALSE(panel->isVisible());

    panel->showPanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->isWindow());
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("About Bevelo 3.4.0"));
    EXPECT_TRUE(panel->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(panel->parentWidget(), &control);  // still owned by the control
    // Caption, sizing frame and minimise box; no close or maximise box.
    const Qt::WindowFlags flags = panel->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_LT(panel->minimumWidth(), panel->maximumWidth());
    EXPECT_LT(panel->minimumHeight(), panel->maximumHeight());
    EXPECT_EQ(panel->size(), panel->minimumSize());

    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(20, 100));
    EXPECT_FALSE(panel->isVisible());

    // Shown again, then put away through its Close button.
    panel->showPanel();
    ASSERT_TRUE(panel->isVisible());
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->closeButtonRect().center());
    EXPECT_FALSE(panel->isVisible());
}

TEST(AboutPanel, PaintsLinesOnAFaceGradientAndAPressedClose) {
    QWidget control;
    auto* panel = new BeveloAboutPanel(&control);
    panel->showPanel();
    const QStringList lines = BeveloAboutPanel::lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Bevelo"));
    EXPECT_EQ(lines[1], QStringLiteral("Version 3.4.0"));

    const QColor face = panel->palette().color(QPalette::Button);
    QImage img = panel->grab().toImage();
    EXPECT_EQ(img.pixelColor(2, 0), shifted(face, 15));
    EXPECT_EQ(img.pixelColor(2, img.height() - 1), shifted(face, -15));
    // The text is in the shadow colour somewhere in the name's row.
    const QRgb shadow = panel->palette().color(QPalette::Dark).rgb();
    bool shadowSeen = false;
    for (int y = 0; y < 40 && !shadowSeen; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == shadow) shadowSeen = true;
    EXPECT_TRUE(shadowSeen);

    const QRect b = panel->closeButtonRect();
    const QColor topEdgeUp = img.pixelColor(b.center().x(), b.top());
    QTest::mousePress(panel, Qt::LeftButton, {}, b.center());
    EXPECT_TRUE(panel->isClosePressed());
    EXPECT_TRUE(panel->isVisible());  // only the release puts it away
    img = panel->grab().toImage();
    EXPECT_NE(img.pixelColor(b.center().x(), b.top()), topEdgeUp);
    EXPECT_EQ(img.pixel(b.center().x(), b.top()), shadow);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, b.center());
    EXPECT_FALSE(panel->isClosePressed());
    EXPECT_FALSE(panel->isVisible());
}

TEST(AboutPanel, GoesAwayWithTheControl) {
    auto control = std::make_unique<QWidget>();
    QPointer<BeveloAboutPanel> panel = new BeveloAboutPanel(control.get());
    panel->showPanel();
    control.reset();
    EXPECT_TRUE(panel.isNull());
}

TEST(AboutPanel, DraggingOffTheCloseButtonReleasesItsPressedLook) {
    QWidget control;
    auto* panel = new BeveloAboutPanel(&control);
    panel->showPanel();
    const QRect b = panel->closeButtonRect();
    QTest::mousePress(panel, Qt::LeftButton, {}, b.center());
    ASSERT_TRUE(panel->isClosePressed());
    QMouseEvent away(QEvent::MouseMove, QPointF(5, 5), panel->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &away);
    EXPECT_FALSE(panel->isClosePressed());
    QMouseEvent back(QEvent::MouseMove, QPointF(b.center()),
                     panel->mapToGlobal(QPointF(b.center())), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &back);
    EXPECT_TRUE(panel->isClosePressed());
    // A press outside the button never shows it pressed.
    QTest::mouseRelease(panel, Qt::LeftButton, {}, b.center());
    panel->showPanel();
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(panel->isClosePressed());
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(5, 5));  // leave no button held
    EXPECT_FALSE(panel->isVisible());
}
