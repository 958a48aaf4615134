// Bevelo: mouse, keyboard, focus and host notifications turned into the
// visual state and the Click, MouseEnter and MouseLeave signals.
//
// Keys: space down shows pressed; space up is a left button up and then the
// click action, once per press (auto-repeat changes nothing), so a held space
// shows pressed and clicks when let go. Enter does nothing. The Right and Left
// arrow keys move the focus to the next and the previous control.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>

#include "widgets/Bevelo.h"
#include "widgets/BeveloHost.h"

namespace {
bool s_mouseTrackingAvailable = true;

short buttonCode(Qt::MouseButton button) {
    // Left 1, right 2, middle 4: the host's button numbers.
    return static_cast<short>(button);
}
}  // namespace

void Bevelo::setMouseTrackingAvailable(bool available) {
    s_mouseTrackingAvailable = available;
}
bool Bevelo::mouseTrackingAvailable() {
    return s_mouseTrackingAvailable;
}

void Bevelo::startWatchingMouse() {
    if (m_subclassed || !s_mouseTrackingAvailable) return;
    m_subclassed = true;
    setMouseTracking(true);
}

// --- state transitions ----------------------------------------------------

void Bevelo::leftButtonDown() {
    m_rt.state = StatePressed;
    Refresh();
}

void Bevelo::buttonUp(Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        m_rt.state = (m_props.ButtonType == 1 && !m_props.Value) ? StatePressed : StateHot;
        Refresh();
    }
    m_lastButtonReleased = buttonCode(button);
}

void Bevelo::clickNotification() {
    if (m_lastButtonReleased == 1) clickAction();
}

void Bevelo::clickAction() {
    if (m_props.ButtonType == 1) m_props.Value = !m_props.Value;
    m_rt.state = StateHot;
    Refresh();
    emit Click();
}

// The access key clicks whatever button was released last: a keyboard user
// has not necessarily touched the mouse.
void Bevelo::accessKey() {
    clickAction();
    m_rt.state = StateNormal;
    Refresh();
}

void Bevelo::accessiblePress() {
    if (!isEnabled()) return;
    accessKey();
}

void Bevelo::ambientPropertyChanged(const QString& name) {
    if (name == QLatin1String("DisplayAsDefault")) Refresh();
}

// --- mouse ---------------------------------------------------------------

void Bevelo::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_leftPressInside = true;
        leftButtonDown();
    }
    event->accept();
}

void Bevelo::mouseReleaseEvent(QMouseEvent* event) {
    const bool completesClick = event->button() == Qt::LeftButton && m_leftPressInside &&
                                rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) m_leftPressInside = false;
    buttonUp(event->button());
    if (completesClick) clickNotification();
    event->accept();
}

// The second press of a double click: pressed look, and its release brings
// no second Click.
void Bevelo::mouseDoubleClickEvent(QMouseEvent* event) {
    m_leftPressInside = false;
    if (m_lastButtonReleased == 1) leftButtonDown();
    event->accept();
}

void Bevelo::mouseMoveEvent(QMouseEvent* event) {
    if (m_subclassed && isEnabled() && rect().contains(event->position().toPoint())) {
        bool handled = false;
        qintptr result = 0;
        zSubclass_Proc(false, handled, result, 0, MsgMouseMove, 0, 0);
    }
    QWidget::mouseMoveEvent(event);
}

void Bevelo::enterEvent(QEnterEvent* event) {
    if (m_subclassed && isEnabled()) {
        bool handled = false;
        qintptr result = 0;
        zSubclass_Proc(false, handled, result, 0, MsgMouseMove, 0, 0);
    }
    QWidget::enterEvent(event);
}

void Bevelo::leaveEvent(QEvent* event) {
    if (m_subclassed && m_rt.mouseInside) {
        bool handled = false;
        qintptr result = 0;
        zSubclass_Proc(false, handled, result, 0, MsgMouseLeave, 0, 0);
    }
    QWidget::leaveEvent(event);
}

// --- keyboard --------------------------------------------------------------

void Bevelo::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            if (!event->isAutoRepeat()) {
                m_spaceDown = true;
                leftButtonDown();
            }
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        case Qt::Key_Right:
            focusNextChild();
            event->accept();
            return;
        case Qt::Key_Left:
            focusPreviousChild();
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void Bevelo::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat()) return;
    buttonUp(Qt::LeftButton);
    if (m_spaceDown) {
        m_spaceDown = false;
        clickAction();
    }
}

// --- focus, show, hide and other notifications -------------------------------

void Bevelo::focusInEvent(QFocusEvent* event) {
    m_rt.hasFocus = true;
    Refresh();
    QWidget::focusInEvent(event);
}

void Bevelo::focusOutEvent(QFocusEvent* event) {
    m_rt.hasFocus = false;
    m_spaceDown = false;  // its release goes elsewhere and must not click here
    Refresh();
    QWidget::focusOutEvent(event);
}

void Bevelo::showEvent(QShowEvent* event) {
    m_rt.shown = true;
    Refresh();
    QWidget::showEvent(event);
}

void Bevelo::hideEvent(QHideEvent* event) {
    m_rt.shown = false;
    giveSiteItsToolTip();
    QWidget::hideEvent(event);
}

void Bevelo::changeEvent(QEvent* event) {
    bool handled = false;
    qintptr result = 0;
    switch (event->type()) {
        case QEvent::StyleChange:
        case QEvent::ThemeChange:
            if (m_subclassed) zSubclass_Proc(false, handled, result, 0, MsgThemeChanged, 0, 0);
            break;
        case QEvent::PaletteChange:
            if (m_subclassed) zSubclass_Proc(false, handled, result, 0, MsgSysColorChange, 0, 0);
            break;
        case QEvent::EnabledChange:
            // Enabled again through the container: leave the disabled look.
            if (isEnabled() && m_rt.state == StateDisabled) m_rt.state = StateNormal;
            Refresh();
            break;
        case QEvent::FontChange:
            if (font() != m_props.Font) Refresh();
            break;
        default:
            break;
    }
    QWidget::changeEvent(event);
}

bool Bevelo::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (m_mnemonicId != 0 && shortcut->shortcutId() == m_mnemonicId) {
            accessKey();
            return true;
        }
    }
    return QWidget::event(event);
}

// --- the watched window notifications ----------------------------------------

void Bevelo::zSubclass_Proc(bool before, bool& handled, qintptr& result, WId window,
                            unsigned message, qintptr wParam, qintptr lParam) {
    Q_UNUSED(before);
    Q_UNUSED(handled);
    Q_UNUSED(result);
    Q_UNUSED(window);
    Q_UNUSED(wParam);
    Q_UNUSED(lParam);
    switch (message) {
        case MsgMouseMove:
            if (m_rt.mouseInside) return;
            m_rt.mouseInside = true;  // Qt reports the leave on its own
            m_rt.state = StateHot;
            Refresh();
            emit MouseEnter();
            buildToolTip();
            return;
        case MsgMouseLeave:
            m_rt.mouseInside = false;
            m_rt.state = StateNormal;
            removeToolTip();
            Refresh();
            emit MouseLeave();
            return;
        case MsgThemeChanged:
        case MsgSysColorChange:
            Refresh();
            return;
        default:
            return;
    }
}
