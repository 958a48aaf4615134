// Faces of styles 0 to 4 and 6 in their states, with system and custom colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "paint_support.h"
#include "widgets/paint/StyleDispatch.h"
#include "widgets/paint/ThemeSupport.h"

using namespace bevelo;
using namespace painttest;

namespace {
constexpr int W = 130, H = 28;
constexpr OleColor kBlack = 0x000000;
constexpr OleColor kBack = rgb(0xF0, 0x20, 0x40);
constexpr OleColor kHot = rgb(0x30, 0x90, 0x10);

QImage face(int style, int state, bool custom = false, bool focus = false, bool asDefault = false,
            bool showFocus = false) {
    BeveloProperties props = plainProps(style);
    props.UseCustomColors = custom;
    props.BackColor = kBack;
    props.HighlightColor = kHot;
    props.ShowFocus = showFocus;
    props.Enabled = state != StateDisabled;
    BeveloRuntime rt = shownRuntime(state);
    rt.hasFocus = focus;
    rt.displayAsDefault = asDefault;
    return repaint(props, rt, W, H);
}

struct ThemeOff {
    ThemeOff() { setThemeUnavailable(true); }
    ~ThemeOff() { setThemeUnavailable(false); }
};
}  // namespace

TEST(PaintStyle0, RaisedUnlessPressed) {
    const QImage normal = face(0, StateNormal);
    EXPECT_EQ(px(normal, 0, 0), kMidlight);
    EXPECT_EQ(px(normal, 1, 1), kLight);
    EXPECT_EQ(px(normal, W - 1, 0), kShadow);
    EXPECT_EQ(px(normal, W - 2, H - 2), kDark);
    EXPECT_EQ(px(normal, 10, 10), kFace);

    const QImage pressed = face(0, StatePressed);
    EXPECT_EQ(px(pressed, 0, 0), kDark);
    EXPECT_EQ(px(pressed, 1, 1), kShadow);
    EXPECT_EQ(px(pressed, W - 1, H - 1), kLight);
    EXPECT_EQ(px(pressed, W - 2, H - 2), kMidlight);
}

TEST(PaintStyle0, CustomBackgroundIsBackColorOnlyAtRest) {
    EXPECT_EQ(px(face(0, StateNormal, true), 10, 10), kBack);
    EXPECT_EQ(px(face(0, StateHot, true), 10, 10), kHot);
    EXPECT_EQ(px(face(0, StatePressed, true), 10, 10), kHot);
    EXPECT_EQ(px(face(0, StateDisabled, true), 10, 10), kHot);
    EXPECT_EQ(px(face(0, StateHot, false), 10, 10), kFace);
}

TEST(PaintStyle0, BlackFrameForShownFocusOrUnfocusedDefault) {
    struct Case {
        bool focus, asDefault, showFocus, frame;
    } cases[] = {
        {true, true, false, false},   // focused, no focus mark: default look suppressed
        {false, true, false, true},   // unfocused default button
        {true, false, true, true},    // focus mark
        {false, false, true, false},  // focus mark wanted but no focus
        {false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.focus << c.asDefault << c.showFocus);
        const QImage image = face(0, StateNormal, false, c.focus, c.asDefault, c.showFocus);
        EXPECT_EQ(px(image, 0, 0) == kBlack, c.frame);
        EXPECT_EQ(px(image, W - 1, H - 1) == kBlack, c.frame);
        EXPECT_EQ(px(image, W / 2, H - 1) == kBlack, c.frame);
        EXPECT_EQ(px(image, 1, 1), kLight);  // the frame covers the outer ring only
    }
}

TEST(PaintStyle1, ThinEdgesByState) {
    for (int state : {StateNormal, StateHot}) {
        const QImage image = face(1, state);
        EXPECT_EQ(px(image, 0, 0), kLight);
        EXPECT_EQ(px(image, W - 1, 0), kDark);
        EXPECT_EQ(px(image, 0, H - 1), kDark);
        EXPECT_EQ(px(image, 1, 1), kFace);
    }
    const QImage pressed = face(1, StatePressed);
    EXPECT_EQ(px(pressed, 0, 0), kDark);
    EXPECT_EQ(px(pressed, W - 1, H - 1), kLight);
    EXPECT_EQ(px(pressed, 1, 1), kFace);

    const QImage disabled = face(1, StateDisabled, true);
    EXPECT_EQ(px(disabled, 0, 0), kBack);
    EXPECT_EQ(px(disabled, W - 1, H - 1), kBack);
    EXPECT_EQ(px(face(1, StateHot, true), 10, 10), kHot);
    EXPECT_EQ(px(face(1, StateNormal, true), 10, 10), kBack);
}

TEST(PaintStyle2, FlatUntilHotOrPressed) {
    const QImage normal = face(2, StateNormal, true);
    EXPECT_EQ(px(normal, 0, 0), kBack);
    EXPECT_EQ(px(normal, W - 1, H - 1), kBack);
    const QImage hot = face(2, StateHot);
    EXPECT_EQ(px(hot, 0, 0), kLight);
    EXPECT_EQ(px(hot, W - 1, H - 1), kDark);
    const QImage pressed = face(2, StatePressed, true);
    EXPECT_EQ(px(pressed, 0, 0), kDark);
    EXPECT_EQ(px(pressed, 10, 10), kHot);
    const QImage disabled = face(2, StateDisabled);
    EXPECT_EQ(px(disabled, 0, 0), kFace);
    EXPECT_EQ(px(disabled, W - 1, 0), kFace);
}

TEST(PaintStyle3, EtchedFrameAroundTheStatePanel) {
    struct Case {
        int state;
        bool custom;
        OleColor back, panel;
    } cases[] = {
        {StateNormal, false, kFace, kFace},  {StateHot, false, kFace, average(kDark, kFace)},
        {StatePressed, false, kFace, kDark}, {StateDisabled, false, kFace, kFace},
        {StateNormal, true, kBack, kBack},   {StateHot, true, kBack, average(kHot, kBack)},
        {StatePressed, true, kBack, kHot},
    };
    const OleColor blend = average(kWindow, kDark);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << c.custom);
        const QImage image = face(3, c.state, c.custom);
        EXPECT_EQ(px(image, 4, 4), c.panel);
        EXPECT_EQ(px(image, W - 5, H - 5), c.panel);
        EXPECT_EQ(px(image, W - 4, 10), c.back);
        EXPECT_EQ(px(image, 3, 10), c.back);
        EXPECT_EQ(px(image, 0, 0), kDark);
        EXPECT_EQ(px(image, W - 2, 0), kDark);
        EXPECT_EQ(px(image, 0, H - 2), kDark);
        EXPECT_EQ(px(image, 1, 1), kWindow);
        EXPECT_EQ(px(image, W - 1, H - 1), kWindow);
        EXPECT_EQ(px(image, W - 1, 0), c.panel);
        EXPECT_EQ(px(image, 0, H - 1), c.panel);
        EXPECT_EQ(px(image, 1, H - 2), blend);
        EXPECT_EQ(px(image, W - 2, 1), blend);
    }
}

TEST(PaintStyle4, LightenedPanelAndHighlightBorder) {
    for (int state : {StateNormal, StateDisabled}) {
        EXPECT_EQ(px(face(4, state), 0, 0), lighten(kFace, 32));
        EXPECT_EQ(px(face(4, state), W - 1, H - 1), lighten(kFace, 32));
    }
    EXPECT_EQ(px(face(4, StateNormal, true), 10, 10), lighten(kBack, 32));

    const QImage hot = face(4, StateHot);
    EXPECT_EQ(px(hot, 0, 0), kHighlight);
    EXPECT_EQ(px(hot, W - 1, H - 1), kHighlight);
    EXPECT_EQ(px(hot, 1, 1), lighten(kHighlight, 176));
    EXPECT_EQ(px(hot, W - 2, H - 2), lighten(kHighlight, 176));
    const QImage pressed = face(4, StatePressed, true);
    EXPECT_EQ(px(pressed, 0, H - 1), kHot);
    EXPECT_EQ(px(pressed, 10, 10), lighten(kHot, 128));
}

namespace {
// The application's style drawing a push button bevel with the given state flags.
QImage styleButton(QStyle::State state, bool asDefault) {
    QImage expected(W, H, QImage::Format_RGB32);
    expected.fill(toQRgb(kFace));
    QStyleOptionButton opt;
    opt.rect = QRect(0, 0, W, H);
    opt.palette = testPalette();
    if (!(state & QStyle::State_Enabled)) opt.palette.setCurrentColorGroup(QPalette::Disabled);
    opt.state = state;
    if (asDefault) opt.features |= QStyleOptionButton::DefaultButton;
    QPainter painter(&expected);
    QApplication::style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &painter, nullptr);
    return expected;
}
}  // namespace

TEST(PaintStyle6, ThemeDrawsThePushButtonOfTheState) {
    ASSERT_NE(QApplication::style(), nullptr);
    using S = QStyle;
    EXPECT_EQ(face(6, StateNormal), styleButton(S::State_Enabled | S::State_Raised, false));
    EXPECT_EQ(face(6, StateHot),
              styleButton(S::State_Enabled | S::State_Raised | S::State_MouseOver, false));
    EXPECT_EQ(face(6, StatePressed), styleButton(S::State_Enabled | S::State_Sunken, false));
    EXPECT_EQ(face(6, StateDisabled), styleButton(S::State_Raised, false));
    EXPECT_EQ(face(6, StateNormal, false, true),
              styleButton(S::State_Enabled | S::State_Raised | S::State_HasFocus, true));
    EXPECT_NE(face(6, StateNormal), face(6, StatePressed));

    BeveloProperties props = plainProps(6);
    props.NonThemeStyle = 3;
    BeveloRuntime rt = shownRuntime();
    repaint(props, rt);
    EXPECT_EQ(props.Style, 6);
}

TEST(PaintStyle6, WithoutThemeTheReplacementDrawsFromTheNextRepaint) {
    ThemeOff off;
    BeveloProperties props = plainProps(6);
    props.NonThemeStyle = 3;
    BeveloRuntime rt = shownRuntime(StatePressed);
    QImage image = repaint(props, rt);
    EXPECT_EQ(props.Style, 3);
    EXPECT_EQ(px(image, 0, 0), kFace);  // this pass: background only
    EXPECT_EQ(px(image, 10, 10), kFace);
    image = repaint(props, rt);
    EXPECT_EQ(px(image, 0, 0), kDark);    // etched frame
    EXPECT_EQ(px(image, 10, 10), kDark);  // pressed panel
}

TEST(PaintStyle6, ReplacementSixOrUnknownDrawsNoFace) {
    ThemeOff off;
    for (int replacement : {6, 11, -2}) {
        SCOPED_TRACE(replacement);
        BeveloProperties props = plainProps(6);
        props.NonThemeStyle = replacement;
        BeveloRuntime rt = shownRuntime(StatePressed);
        for (int pass = 0; pass < 3; ++pass) {
            const QImage image = repaint(props, rt);
            EXPECT_EQ(props.Style, replacement);
            EXPECT_EQ(px(image, 0, 0), kFace);
            EXPECT_EQ(px(image, W - 1, H - 1), kFace);
            EXPECT_EQ(px(image, W / 2, H / 2), kFace);
        }
    }
}

TEST(PaintStyle6, FallbackKeepsTheIconMarginOfTheFailedPass) {
    ThemeOff off;
    BeveloProperties props = plainProps(6);
    props.NonThemeStyle = 7;
    QImage icon(4, 4, QImage::Format_RGB32);
    icon.fill(toQRgb(rgb(0, 0, 255)));
    props.Icon = icon;
    props.IconAlign = 1;
    BeveloRuntime rt = shownRuntime();
    QImage image = repaint(props, rt, 60, 24);
    EXPECT_EQ(px(image, 4, 4), rgb(0, 0, 255));  // margin 4 while nothing was drawn
    image = repaint(props, rt, 60, 24);
    EXPECT_EQ(px(image, 5, 4), rgb(0, 0, 255));  // style 7: margin 5
    EXPECT_NE(px(image, 4, 4), rgb(0, 0, 255));
}
