// Style 6: the push button of the application's widget style (the desktop theme).
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "widgets/paint/StyleDispatch.h"
#include "widgets/paint/ThemeSupport.h"

namespace bevelo {

namespace {
bool g_themeUnavailable = false;

constexpr int kThemeDefaultButton = 5;

// The style's button options for a theme state: 1 normal, 2 hot, 3 pressed,
// 4 disabled, 5 default button.
QStyleOptionButton buttonOption(int themeState, const QRect& rect, const QPalette& palette) {
    QStyleOptionButton opt;
    opt.rect = rect;
    opt.palette = palette;
    opt.state = QStyle::State_Enabled | QStyle::State_Raised;
    switch (themeState) {
        case StateHot:
            opt.state |= QStyle::State_MouseOver;
            break;
        case StatePressed:
            opt.state &= ~QStyle::State_Raised;
            opt.state |= QStyle::State_Sunken;
            break;
        case StateDisabled:
            opt.state &= ~QStyle::State_Enabled;
            opt.palette.setCurrentColorGroup(QPalette::Disabled);
            break;
        case kThemeDefaultButton:
            opt.state |= QStyle::State_HasFocus;
            opt.features |= QStyleOptionButton::DefaultButton;
            break;
        default:
            break;
    }
    return opt;
}
}  // namespace

void setThemeUnavailable(bool unavailable) {
    g_themeUnavailable = unavailable;
}
bool themeUnavailable() {
    return g_themeUnavailable;
}

bool drawStyle6(Surface& s, const BeveloProperties&, const BeveloRuntime& rt) {
    s.setBackground(s.face());
    // Only a widget application has a style to draw with.
    if (g_themeUnavailable || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    QStyle* style = QApplication::style();
    if (!style) return false;
    if (s.image().isNull()) return true;  // nothing to draw on is no failure of the theme

    const int themeState =
        (rt.hasFocus && rt.state == StateNormal) ? kThemeDefaultButton : rt.state;
    const QRect client(0, 0, s.width(), s.height());
    const QStyleOptionButton opt = buttonOption(themeState, client, s.palette());
    QPainter painter(&s.image());
    painter.setClipRect(client);
    style->drawControl(QStyle::CE_PushButtonBevel, &opt, &painter, nullptr);
    return true;
}

}  // namespace bevelo
