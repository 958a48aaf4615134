// The property bag: keyed reads and writes with defaults, the stored keys of a
// Bevelo, and new-instance versus stored defaults.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QPainter>

#include "tests/widgets/BeveloTestSupport.h"
#include "widgets/paint/SystemColors.h"

namespace {

// A palette colour as RGB with red in the low byte.
std::int32_t rgb(const QPalette& p, QPalette::ColorRole role) {
    const QColor c = p.color(QPalette::Active, role);
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

TEST(BeveloPropertyBagTest, WriteEqualToItsDefaultIsNotStoredAndRemovesAnOlderValue) {
    BeveloPropertyBag bag;
    bag.writeInt(QStringLiteral("Style"), 7, 3);
    EXPECT_EQ(bag.readInt(QStringLiteral("Style"), 3), 7);
    bag.writeInt(QStringLiteral("Style"), 3, 3);
    EXPECT_FALSE(bag.contains(QStringLiteral("Style")));
    bag.writeBool(QStringLiteral("Enabled"), true, true);
    bag.writeString(QStringLiteral("Caption"), QString(), QString());
    EXPECT_TRUE(bag.values().isEmpty());
    // No write default: always stored.
    bag.writeInt(QStringLiteral("ToolTipType"), 1, std::nullopt);
    bag.writeString(QStringLiteral("Tooltiptitle"), QString(), std::nullopt);
    EXPECT_TRUE(bag.contains(QStringLiteral("ToolTipType")));
    EXPECT_TRUE(bag.contains(QStringLiteral("Tooltiptitle")));
}

TEST(BeveloPropertyBagTest, ReadsFallBackToTheirDefaultAndColoursWrapTo32Bits) {
    BeveloPropertyBag bag(QJsonObject{{QStringLiteral("A"), -2147483630.0},
                                      {QStringLiteral("B"), 2147483666.0},
                                      {QStringLiteral("C"), QStringLiteral("text")},
                                      {QStringLiteral("D"), 1e12}});
    EXPECT_EQ(static_cast<OleColor>(bag.readInt(QStringLiteral("A"), 0)), 0x80000012u);
    EXPECT_EQ(static_cast<OleColor>(bag.readInt(QStringLiteral("B"), 0)), 0x80000012u);
    EXPECT_EQ(bag.readInt(QStringLiteral("C"), 5), 5);  // not a number
    EXPECT_EQ(bag.readInt(QStringLiteral("D"), 6), 6);  // out of 32-bit range
    EXPECT_EQ(bag.readInt(QStringLiteral("missing"), 9), 9);
    EXPECT_EQ(bag.readString(QStringLiteral("missing"), QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_TRUE(bag.readBool(QStringLiteral("missing"), true));
}

TEST(BeveloPropertyBagTest, IconAndFontRoundTrip) {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgba(200, 10, 30, 255));
    icon.setPixel(3, 4, qRgba(0, 0, 0, 0));
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setUnderline(true);

    BeveloPropertyBag bag;
    bag.writeImage(QStringLiteral("Icon"), icon);
    bag.writeFont(QStringLiteral("Font"), font);
    const QImage readIcon = bag.readImage(QStringLiteral("Icon"), QImage());
    ASSERT_EQ(readIcon.size(), icon.size());
    EXPECT_EQ(readIcon.convertToFormat(QImage::Format_ARGB32), icon);
    const QFont readFont = bag.readFont(QStringLiteral("Font"), QFont());
    EXPECT_EQ(readFont.family(), QStringLiteral("Verdana"));
    EXPECT_DOUBLE_EQ(readFont.pointSizeF(), 8.25);
    EXPECT_EQ(readFont.weight(), QFont::Bold);
    EXPECT_TRUE(readFont.italic());
    EXPECT_TRUE(readFont.underline());
    EXPECT_FALSE(readFont.strikeOut());

    bag.writeImage(QStringLiteral("Icon"), QImage());
    EXPECT_TRUE(bag.contains(QStringLiteral("Icon")));  // always stored, as "no picture"
    EXPECT_TRUE(bag.readImage(QStringLiteral("Icon"), icon).isNull());
}

class BeveloStoredProperties : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(200, 100);
        b = new Bevelo(QStringLiteral("Bevelo7"), &window, &host);
    }
    BeveloPropertyBag saved() const {
        BeveloPropertyBag bag;
        b->saveProperties(bag);
        return bag;
    }
    RecordingHost host;
    QWidget window;
    Bevelo* b = nullptr;
};

TEST_F(BeveloStoredProperties, NewInstanceDefaultsDifferFromStoredControlDefaults) {
    const QPalette& p = b->palette();
    EXPECT_EQ(b->Style(), 0);
    EXPECT_EQ(b->NonThemeStyle(), 0);
    EXPECT_EQ(b->Caption(), QStringLiteral("Bevelo7"));
    EXPECT_EQ(b->IconAlign(), 0);
    EXPECT_EQ(b->IconSize(), 16);
    EXPECT_EQ(b->MaskColor(), 0u);
    EXPECT_EQ(b->ToolTipType(), 1);
    EXPECT_TRUE(b->Icon().isNull());
    EXPECT_EQ(b->BackColor(), static_cast<OleColor>(rgb(p, QPalette::Button)));
    EXPECT_EQ(b->HighlightColor(), static_cast<OleColor>(rgb(p, QPalette::Highlight)));
    EXPECT_EQ(b->FontColor(), static_cast<OleColor>(rgb(p, QPalette::ButtonText)));
    EXPECT_EQ(b->FontHighlightColor(), static_cast<OleColor>(rgb(p, QPalette::ButtonText)));

    b->loadProperties(BeveloPropertyBag());
    EXPECT_EQ(b->Style(), 3);
    EXPECT_EQ(b->NonThemeStyle(), 5);
    EXPECT_EQ(b->Caption(), QStringLiteral("Bevelo"));
    EXPECT_EQ(b->IconAlign(), 1);
    EXPECT_EQ(b->MaskColor(), 12632256u);
    EXPECT_EQ(b->ToolTipType(), 1);
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->BackColor(), static_cast<OleColor>(rgb(p, QPalette::Button)));
}

TEST_F(BeveloStoredProperties, DefaultsAreLeftOutAndFiveKeysAreAlwaysStored) {
    b->loadProperties(BeveloPropertyBag());
    const BeveloPropertyBag bag = saved();
    const QStringList always{QStringLiteral("Icon"), QStringLiteral("Font"),
                             QStringLiteral("Tooltiptitle"), QStringLiteral("ToolTipIcon"),
                             QStringLiteral("ToolTipType")};
    for (const QString& key : always) EXPECT_TRUE(bag.contains(key)) << key.toStdString();
    for (const char* key : {"Style", "IconSize", "IconAlign", "iNonThemeStyle", "CaptionAlign",
                            "Enabled", "ShowFocus", "USeCustomColors", "BackColor",
                            "HighlightColor", "FontColor", "FontHighlightColor", "ButtonType",
                            "Value", "UseMaskColor", "MaskColor", "MousePointer", "ToolTipText"})
        EXPECT_FALSE(bag.contains(QLatin1String(key))) << key;
    // "Bevelo" differs from the caption's write default "" and so is stored.
    EXPECT_EQ(bag.readString(QStringLiteral("Caption"), QString()), QStringLiteral("Bevelo"));
}

TEST_F(BeveloStoredProperties, KeysKeepTheirStoredSpelling) {
    b->SetNonThemeStyle(2);
    b->SetUseCustomColors(true);
    b->SetToolTipTitle(QStringLiteral("T"));
    b->SetToolTipBackColor(0x112233);
    b->SetToolTipForeColor(0x445566);
    const QJsonObject v = saved().values();
    EXPECT_EQ(v.value(QStringLiteral("iNonThemeStyle")).toInt(), 2);
    EXPECT_TRUE(v.value(QStringLiteral("USeCustomColors")).toBool());
    EXPECT_EQ(v.value(QStringLiteral("Tooltiptitle")).toString(), QStringLiteral("T"));
    EXPECT_EQ(v.value(QStringLiteral("ttBackColor")).toInt(), 0x112233);
    EXPECT_EQ(v.value(QStringLiteral("ttForeColor")).toInt(), 0x445566);
    for (const char* wrong : {"NonThemeStyle", "UseCustomColors", "ToolTipTitle",
                              "ToolTipBackColor", "ToolTipForeColor"})
        EXPECT_FALSE(v.contains(QLatin1String(wrong))) << wrong;
}

TEST_F(BeveloStoredProperties, EmptyCaptionIsNotStoredAndReadsBackAsBevelo) {
    b->SetCaption(QString());
    const BeveloPropertyBag bag = saved();
    EXPECT_FALSE(bag.contains(QStringLiteral("Caption")));
    b->loadProperties(bag);
    EXPECT_EQ(b->Caption(), QStringLiteral("Bevelo"));
}

TEST_F(BeveloStoredProperties, TooltipColoursTakeTheirDefaultsCrosswise) {
    QPalette p = b->palette();
    p.setColor(QPalette::ToolTipText, QColor(0x11, 0x22, 0x33));
    p.setColor(QPalette::ToolTipBase, QColor(0xAA, 0xBB, 0xCC));
    b->setPalette(p);
    b->loadProperties(BeveloPropertyBag());
    EXPECT_EQ(b->ToolTipBackColor(), 0x332211u);  // the tooltip text colour
    EXPECT_EQ(b->ToolTipForeColor(), 0xCCBBAAu);  // the tooltip background colour

    // Stored values read back unchanged, whatever they are.
    for (const quint32 back : {0u, 0x332211u, 0x0000FFu}) {
        for (const quint32 fore : {0u, 0xCCBBAAu, 0xFFFFFFu}) {
            b->SetToolTipBackColor(back);
            b->SetToolTipForeColor(fore);
            const BeveloPropertyBag bag = saved();
            b->loadProperties(bag);
            EXPECT_EQ(b->ToolTipBackColor(), back);
            EXPECT_EQ(b->ToolTipForeColor(), fore);
        }
    }
    b->SetToolTipBackColor(0x332211u);
    b->SetToolTipForeColor(0xCCBBAAu);
    EXPECT_FALSE(saved().contains(QStringLiteral("ttBackColor")));
    EXPECT_FALSE(saved().contains(QStringLiteral("ttForeColor")));
}

TEST_F(BeveloStoredProperties, SystemColourDefaultsAreTakenFromThePaletteWhenWritingAndReading) {
    QPalette p = b->palette();
    p.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
    b->setPalette(p);
    b->loadProperties(BeveloPropertyBag());
    EXPECT_EQ(b->BackColor(), 0x302010u);
    EXPECT_FALSE(saved().contains(QStringLiteral("BackColor")));

    p.setColor(QPalette::Button, QColor(0x40, 0x50, 0x60));
    b->setPalette(p);
    EXPECT_EQ(saved().readInt(QStringLiteral("BackColor"), 0), 0x302010);
}

TEST_F(BeveloStoredProperties, ToolTipTextIsReadTwice) {
    BeveloPropertyBag bag;
    bag.writeString(QStringLiteral("ToolTipText"), QStringLiteral("stored"), QString());
    b->loadProperties(bag);
    EXPECT_EQ(b->ToolTipText(), QStringLiteral("stored"));
    EXPECT_EQ(b->toolTip(), QStringLiteral("stored"));

    // Absent: the window keeps the control's text, the field becomes empty.
    b->loadProperties(BeveloPropertyBag());
    EXPECT_EQ(b->toolTip(), QStringLiteral("stored"));
    EXPECT_EQ(b->ToolTipText(), QString());
}

TEST_F(BeveloStoredProperties, ToolTipTextIsStoredOnlyWhenItDiffersFromTheWindowsText) {
    b->SetToolTipText(QStringLiteral("tip"));
    EXPECT_EQ(b->toolTip(), QStringLiteral("tip"));
    EXPECT_FALSE(saved().contains(QStringLiteral("ToolTipText")));
    b->setToolTip(QStringLiteral("other"));
    EXPECT_EQ(saved().readString(QStringLiteral("ToolTipText"), QString()), QStringLiteral("tip"));
}

TEST_F(BeveloStoredProperties, EverythingStoredReadsBackTheSame) {
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(qRgba(1, 2, 3, 255));
    b->SetStyle(9);
    b->SetNonThemeStyle(0);
    b->SetCaption(QStringLiteral("&Read"));
    b->SetCaptionAlign(2);
    b->SetIconAlign(4);
    b->SetIcon(icon);
    b->SetIconSize(24);
    b->SetShowFocus(true);
    b->SetUseCustomColors(true);
    b->SetBackColor(0xFFFFFF);
    b->SetHighlightColor(0x80000012);
    b->SetFontColor(0x123456);
    b->SetFontHighlightColor(0x654321);
    b->SetToolTipIcon(3);
    b->SetToolTipType(0);
    b->SetButtonType(1);
    b->SetValue(true);
    b->SetMaskColor(0xFF00FF);
    b->SetUseMaskColor(true);
    b->SetMousePointer(11);
    b->SetEnabled(false);
    const BeveloPropertyBag first = saved();

    Bevelo other(QStringLiteral("Bevelo8"), &window, &host);
    other.loadProperties(first);
    BeveloPropertyBag second;
    other.saveProperties(second);
    EXPECT_EQ(first, second);
    EXPECT_EQ(other.Caption(), QStringLiteral("&Read"));
    EXPECT_EQ(other.HighlightColor(), 0x80000012u);
    EXPECT_EQ(other.MousePointer(), 11);
    EXPECT_EQ(other.cursor().shape(), Qt::WaitCursor);
    EXPECT_FALSE(other.Enabled());
    EXPECT_FALSE(other.isEnabled());  // the window follows the stored Enabled
}

}  // namespace
