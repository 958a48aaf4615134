// Bevelo's setters, resize routine and public methods.
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QPainter>
#include <QPointer>

#include "tests/widgets/BeveloTestSupport.h"
#include "widgets/about/BeveloAboutPanel.h"

namespace {

class BeveloSetters : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(300, 100);
        b = new Bevelo(QStringLiteral("Bevelo3"), &window, &host);
        b->setGeometry(10, 10, 120, 30);
        window.show();
    }
    RecordingHost host;
    QWidget window;
    Bevelo* b = nullptr;
};

// A value of each property's type that differs from anything a control starts with.
QVariant unusualValue(const QMetaProperty& p) {
    switch (p.metaType().id()) {
        case QMetaType::Int:
            return 99;
        case QMetaType::Short:
            return QVariant::fromValue<short>(-7);
        case QMetaType::UInt:
            return QVariant::fromValue<quint32>(0x80000012u);
        case QMetaType::Bool:
            return true;  // replaced by the negation of the current value
        case QMetaType::QString:
            return QStringLiteral("x&y");
        case QMetaType::QFont:
            return QFont(QStringLiteral("Verdana"), 13);
        case QMetaType::QImage: {
            QImage i(4, 4, QImage::Format_ARGB32);
            i.fill(Qt::red);
            return i;
        }
        default:
            return {};
    }
}

TEST_F(BeveloSetters, EverySetterStoresUncheckedAndNotifiesTheHostOnceUnderItsName) {
    const QMetaObject* meta = &Bevelo::staticMetaObject;
    int checked = 0;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        QVariant value = unusualValue(p);
        if (p.metaType().id() == QMetaType::Bool) value = !p.read(b).toBool();
        ASSERT_TRUE(value.isValid()) << p.name();
        host.changes.clear();
        ASSERT_TRUE(p.write(b, value)) << p.name();
        EXPECT_EQ(host.changes, QStringList{QLatin1String(p.name())}) << p.name();
        if (QLatin1String(p.name()) == QLatin1String("Font"))
            EXPECT_EQ(b->Font().pointSize(), 13);
        else
            EXPECT_EQ(p.read(b), value) << p.name();
        ++checked;
    }
    EXPECT_EQ(checked, 26);  // every property of the control
}

TEST_F(BeveloSetters, SettersThatReshapeOrRepaintDoSoAndMousePointerDoesNot) {
    int before = b->refreshCount();
    b->SetCaption(QStringLiteral("Read Data"));
    EXPECT_GT(b->refreshCount(), before);
    before = b->refreshCount();
    b->SetFontColor(0x0000FF);
    EXPECT_GT(b->refreshCount(), before);
    before = b->refreshCount();
    b->SetMousePointer(2);
    EXPECT_EQ(b->refreshCount(), before);
    EXPECT_EQ(b->cursor().shape(), Qt::CrossCursor);
}

TEST_F(BeveloSetters, CaptionAlignSetsTheTextFormatAndOtherValuesKeepThePreviousOne) {
    const std::pair<int, int> table[] = {{1, 36}, {2, 38}, {3, 33}, {4, 41}, {0, 37}};
    for (const auto& [align, format] : table) {
        b->SetCaptionAlign(align);
        EXPECT_EQ(b->runtime().captionFormat, format) << align;
    }
    b->SetCaptionAlign(3);
    b->SetCaptionAlign(99);
    EXPECT_EQ(b->CaptionAlign(), 99);
    EXPECT_EQ(b->runtime().captionFormat, 33);
}

TEST_F(BeveloSetters, ResizeRoutineWidensToThreeHundredTwipsAndLaysOutTheRectangles) {
    b->resize(10, 8);
    EXPECT_EQ(b->size(), QSize(20, 20));
    b->resize(100, 6);
    EXPECT_EQ(b->size(), QSize(100, 20));
    b->resize(90, 40);
    EXPECT_EQ(b->runtime().clientRect, QRect(0, 0, 90, 40));
    EXPECT_EQ(b->runtime().captionRect.left(), 4);
    EXPECT_EQ(b->runtime().captionRect.top(), 4);
    EXPECT_EQ(b->runtime().captionRect.right() + 1, 86);
    EXPECT_EQ(b->runtime().captionRect.bottom() + 1, 36);
    EXPECT_EQ(b->surface().size(), QSize(90, 40) * b->devicePixelRatioF());
}

TEST_F(BeveloSetters, StyleElevenIsStoredAsGiven) {
    b->SetStyle(11);
    EXPECT_EQ(b->Style(), 11);
}

TEST_F(BeveloSetters, EnabledSetterResetsTheStateAndMirrorsIntoTheWindow) {
    b->SetEnabled(false);
    EXPECT_FALSE(b->isEnabled());
    b->SetEnabled(true);
    EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(b->visualState(), StateNormal);
}

TEST(BeveloMethods, VersionIsFixed) {
    EXPECT_EQ(Bevelo::Version(), QStringLiteral("3.4.0"));
    Bevelo b;
    b.SetStyle(-4);
    EXPECT_EQ(b.Version(), QStringLiteral("3.4.0"));
}

TEST(BeveloMethods, OpenLinkRefusesAnEmptyLinkWithoutStartingAnything) {
    Bevelo b;
    EXPECT_EQ(b.OpenLink(QString()), 2);
    EXPECT_EQ(b.OpenLink(QStringLiteral("   ")), 2);
}

TEST(BeveloMethods, AboutShowsAPanelThatGoesAwayWithTheControl) {
    auto* b = new Bevelo;
    b->About();
    QPointer<QWidget> panel;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<BeveloAboutPanel*>(w) && w->isVisible()) panel = w;
    ASSERT_TRUE(panel);
    delete b;
    EXPECT_TRUE(panel.isNull());
}

TEST(BeveloMethods, PaintIconGrayscaleKeepsTheSixteenGreysAndWeighsTheRest) {
    Bevelo b;
    QImage icon(4, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgb(0x80, 0x80, 0x80));
    icon.setPixel(1, 0, qRgb(255, 0, 0));
    icon.setPixel(2, 0, qRgb(0x90, 0x90, 0x90));
    icon.setPixel(3, 0, qRgb(0, 0, 255));
    EXPECT_FALSE(b.PaintIconGrayscale(nullptr, icon, 0, 0, 1, 4));

    QImage target(4, 1, QImage::Format_ARGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    EXPECT_FALSE(b.PaintIconGrayscale(&painter, QImage(), 0, 0, 1, 4));
    EXPECT_TRUE(b.PaintIconGrayscale(&painter, icon, 0, 0, 1, 4));
    painter.end();
    EXPECT_EQ(target.pixel(0, 0), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(target.pixel(1, 0), qRgb(84, 84, 84));        // 0.33 x 255 = 84.15
    EXPECT_EQ(target.pixel(2, 0), qRgb(0x94, 0x94, 0x94));  // 1.03 x 144 = 148.32
    EXPECT_EQ(target.pixel(3, 0), qRgb(28, 28, 28));        // 0.11 x 255 = 28.05
}

}  // namespace

namespace {

TEST(BeveloDefaultHost, SettersMarkTheLayoutChangedButLoadingDoesNot) {
    auto& host = static_cast<DefaultBeveloHost&>(BeveloHost::defaultHost());
    Bevelo b(QStringLiteral("Bevelo9"), nullptr);
    BeveloPropertyBag bag;
    bag.writeInt(QStringLiteral("MousePointer"), 11, 0);
    bag.writeString(QStringLiteral("ToolTipText"), QStringLiteral("t"), QString());
    host.clearLayoutChanged();
    b.loadProperties(bag);
    EXPECT_FALSE(host.layoutChanged());
    EXPECT_EQ(b.MousePointer(), 11);
    b.SetCaption(QStringLiteral("x"));
    EXPECT_TRUE(host.layoutChanged());
    host.clearLayoutChanged();
}

TEST(BeveloDefaultHost, DisplayAsDefaultIsAmbientAndRepaintsWhenItChanges) {
    auto& host = static_cast<DefaultBeveloHost&>(BeveloHost::defaultHost());
    QWidget window;
    Bevelo b(QStringLiteral("Bevelo1"), &window);
    window.show();
    EXPECT_FALSE(b.runtime().displayAsDefault);
    const int before = b.refreshCount();
    host.setDisplayAsDefault(b, true);
    EXPECT_EQ(b.refreshCount(), before + 1);
    EXPECT_TRUE(b.runtime().displayAsDefault);
    b.ambientPropertyChanged(QStringLiteral("UserMode"));  // not one the control answers
    EXPECT_EQ(b.refreshCount(), before + 1);
}

TEST(BeveloDefaultHost, SiteNameAndToolTipTextLiveOnTheWidget) {
    Bevelo b(QStringLiteral("Bevelo6"), nullptr);
    EXPECT_EQ(b.Caption(), QStringLiteral("Bevelo6"));  // a new instance reads the site's name
    b.host().setSiteToolTipText(b, QStringLiteral("bytes received"));
    EXPECT_EQ(b.toolTip(), QStringLiteral("bytes received"));
}

}  // namespace

namespace {

TEST(BeveloSurface, ReadingTheSurfaceShowsTheLatestRefresh) {
    QWidget window;
    Bevelo b(QStringLiteral("Bevelo5"), &window);
    b.setGeometry(0, 0, 89, 28);
    b.SetStyle(8);
    window.show();
    b.SetUseCustomColors(true);
    b.SetBackColor(0x0000FF);  // red
    const QImage red = b.surface().copy();
    b.SetBackColor(0x00FF00);  // green
    const QImage green = b.surface().copy();
    EXPECT_NE(red, green);
    b.hide();
    b.Refresh();
    // A hidden control is only cleared.
    const QImage cleared = b.surface();
    EXPECT_NE(cleared, green);
    EXPECT_EQ(cleared.pixel(44, 14), cleared.pixel(2, 2));
}

}  // namespace
