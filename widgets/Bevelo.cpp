// Bevelo: construction, properties, resize routine, repaint and the public
// methods. Input and state live in BeveloInput.cpp, storage in
// BeveloPersistence.cpp, the tooltip wiring in BeveloToolTipWiring.cpp.
#include "widgets/Bevelo.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QUrl>
#include <algorithm>

#include "widgets/BeveloAccessible.h"
#include "widgets/BeveloHost.h"
#include "widgets/about/BeveloAboutPanel.h"
#include "widgets/paint/BeveloPainter.h"
#include "widgets/paint/Grayscale.h"
#include "widgets/paint/SystemColors.h"
#include "widgets/tooltip/BeveloToolTip.h"

namespace {

// 300 twips at 15 twips per pixel.
constexpr int kMinimumEdge = 20;

Qt::CursorShape cursorForPointer(short code) {
    switch (code) {
        case 1:
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 5:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        case 15:
            return Qt::SizeAllCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

Bevelo::Bevelo(QWidget* parent, BeveloHost* host)
    : QWidget(parent), m_host(host ? host : &BeveloHost::defaultHost()) {
    initProperties();
}

Bevelo::Bevelo(const QString& name, QWidget* parent, BeveloHost* host)
    : QWidget(parent), m_host(host ? host : &BeveloHost::defaultHost()) {
    setObjectName(name);
    initProperties();
}

// New instance: the properties a control placed fresh on a window starts with.
void Bevelo::initProperties() {
    bevelo::installAccessibleFactory();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    const QPalette& pal = palette();
    m_props.Style = 0;
    m_props.Caption = m_host->siteName(*this);
    m_props.IconSize = 16;
    m_props.ShowFocus = false;
    m_props.UseCustomColors = false;
    m_props.Enabled = true;
    auto systemRgb = [&pal](int index) {
        return static_cast<OleColor>(bevelo::systemColor(index, pal));
    };
    m_props.BackColor = systemRgb(bevelo::syscolor::ButtonFace);
    m_props.HighlightColor = systemRgb(bevelo::syscolor::Highlight);
    m_props.FontColor = systemRgb(bevelo::syscolor::ButtonText);
    m_props.FontHighlightColor = systemRgb(bevelo::syscolor::ButtonText);
    m_props.ToolTipType = 1;
    m_props.Font = font();
    m_about = new BeveloAboutPanel(this);
    updateMnemonic();
    reshape();
}

Bevelo::~Bevelo() {
    // Termination: stop watching the mouse and drop the tooltip window. A
    // shown About panel is a top-level window of its own and goes with us.
    m_subclassed = false;
    m_toolTip.reset();
    if (m_about && m_about->parent() != this) delete m_about.data();
}

void Bevelo::notify(const char* property) {
    m_host->propertyChanged(*this, QString::fromLatin1(property));
}

// --- properties ----------------------------------------------------------

void Bevelo::SetStyle(int value) {
    m_props.Style = value;
    notify("Style");
    reshape();
}

void Bevelo::SetNonThemeStyle(int value) {
    m_props.NonThemeStyle = value;
    notify("NonThemeStyle");
    reshape();
}

void Bevelo::SetCaption(const QString& value) {
    m_props.Caption = value;
    notify("Caption");
    captionChanged();
    reshape();
}

void Bevelo::SetCaptionAlign(int value) {
    m_props.CaptionAlign = value;
    notify("CaptionAlign");
    reshape();
}

void Bevelo::SetIconAlign(int value) {
    m_props.IconAlign = value;
    notify("IconAlign");
    reshape();
}

void Bevelo::SetIcon(const QImage& value) {
    m_props.Icon = value;
    notify("Icon");
    reshape();
}

void Bevelo::SetIconSize(short value) {
    m_props.IconSize = value;
    notify("IconSize");
    reshape();
}

void Bevelo::SetFont(const QFont& value) {
    m_props.Font = value;
    setFont(value);
    Refresh();
    notify("Font");
}

void Bevelo::SetEnabled(bool value) {
    m_rt.state = StateNormal;
    m_props.Enabled = value;
    Refresh();
    notify("Enabled");
    setEnabled(value);
}

#define BEVELO_STORE_NOTIFY_REPAINT(Name, Type) \
    void Bevelo::Set##Name(Type value) {        \
        m_props.Name = value;                   \
        notify(#Name);                          \
        Refresh();                              \
    }

BEVELO_STORE_NOTIFY_REPAINT(ShowFocus, bool)
BEVELO_STORE_NOTIFY_REPAINT(UseCustomColors, bool)
BEVELO_STORE_NOTIFY_REPAINT(BackColor, quint32)
BEVELO_STORE_NOTIFY_REPAINT(HighlightColor, quint32)
BEVELO_STORE_NOTIFY_REPAINT(FontColor, quint32)
BEVELO_STORE_NOTIFY_REPAINT(FontHighlightColor, quint32)
BEVELO_STORE_NOTIFY_REPAINT(ToolTipIcon, int)
BEVELO_STORE_NOTIFY_REPAINT(ToolTipType, int)
BEVELO_STORE_NOTIFY_REPAINT(ToolTipBackColor, quint32)
BEVELO_STORE_NOTIFY_REPAINT(ToolTipForeColor, quint32)
BEVELO_STORE_NOTIFY_REPAINT(MaskColor, quint32)
BEVELO_STORE_NOTIFY_REPAINT(UseMaskColor, bool)
#undef BEVELO_STORE_NOTIFY_REPAINT

void Bevelo::SetButtonType(int value) {
    m_props.ButtonType = value;
    notify("ButtonType");
    releaseToggleLook();
    Refresh();
}

void Bevelo::SetValue(bool value) {
    m_props.Value = value;
    notify("Value");
    releaseToggleLook();
    Refresh();
}

// The pressed look that only the toggle's Value kept goes with it when the
// program turns the toggle off (or makes it a push button); otherwise a button
// that is off would still be drawn on. A press in progress keeps its look.
void Bevelo::releaseToggleLook() {
    if (m_rt.state != StatePressed || (m_props.ButtonType == 1 && m_props.Value)) return;
    if (m_leftPressInside || m_spaceDown) return;
    m_rt.state = m_rt.mouseInside ? StateHot : StateNormal;
}

void Bevelo::SetToolTipTitle(const QString& value) {
    m_props.ToolTipTitle = value;
    notify("ToolTipTitle");
    Refresh();
}

void Bevelo::SetMousePointer(short value) {
    applyMousePointer(value);
    notify("MousePointer");
}

void Bevelo::applyMousePointer(short value) {
    m_mousePointer = value;
    if (value == 0)
        unsetCursor();
    else
        setCursor(cursorForPointer(value));
}

// --- resize routine and repaint --------------------------------------------

void Bevelo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    reshape();
}

void Bevelo::reshape() {
    if (width() < kMinimumEdge || height() < kMinimumEdge) {
        resize(std::max(width(), kMinimumEdge), std::max(height(), kMinimumEdge));
    }
    const int w = width();
    const int h = height();
    m_rt.clientRect = QRect(0, 0, w, h);
    m_rt.captionRect = QRect(4, 4, w - 8, h - 8);  // left 4, top 4, right w - 4, bottom h - 4
    m_rt.captionFormat = bevelo::captionFormatFor(m_props.CaptionAlign, m_rt.captionFormat);
    // Counters change their caption on every byte received: only a new
    // region is handed to the window.
    const QRegion region = bevelo::windowRegion(m_props.Style, w, h);
    if (region != mask()) setMask(region);
    Refresh();
}

// The state settles at once, as drawing would settle it; the drawing itself
// waits for the next paint (or a read of the surface), so that many changes
// between two frames, such as a byte counter's caption on every receive
// event, cost one drawing.
void Bevelo::Refresh() {
    ++m_refreshCount;
    m_rt.userMode = m_host->ambientUserMode();
    m_rt.displayAsDefault = m_host->ambientDisplayAsDefault(*this);
    m_props.Font = font();
    if (m_rt.shown) {
        if (m_props.Style != 5 && !m_rt.userMode) m_rt.state = StateHot;
        if (m_props.ButtonType == 1 && m_props.Value) m_rt.state = StatePressed;
        if (!drawsEnabled()) m_rt.state = StateDisabled;
    }
    m_surfaceStale = true;
    update();
}

// A control disabled through its container draws disabled too, without its
// own Enabled property changing.
bool Bevelo::drawsEnabled() const {
    return m_props.Enabled && !(parentWidget() && !parentWidget()->isEnabled());
}

void Bevelo::drawSurface() {
    if (!m_surfaceStale) return;
    m_surfaceStale = false;
    const qreal ratio = devicePixelRatioF();
    const QSize devicePixels = (QSizeF(size()) * ratio).toSize();
    if (m_surface.size() != devicePixels) {
        m_surface = QImage(devicePixels, QImage::Format_ARGB32_Premultiplied);
        m_surface.setDevicePixelRatio(ratio);
    }
    const bool storedEnabled = m_props.Enabled;
    m_props.Enabled = drawsEnabled();
    bevelo::refresh(m_surface, m_props, m_rt, palette());
    m_props.Enabled = storedEnabled;
}

const QImage& Bevelo::surface() {
    drawSurface();
    return m_surface;
}

void Bevelo::paintEvent(QPaintEvent* event) {
    drawSurface();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface,
                      QRectF(QPointF(event->rect().topLeft()) * m_surface.devicePixelRatio(),
                             QSizeF(event->rect().size()) * m_surface.devicePixelRatio()));
}

// --- methods -------------------------------------------------------------

void Bevelo::About() {
    if (!m_about) m_about = new BeveloAboutPanel(this);
    m_about->showPanel();
}

std::int32_t Bevelo::OpenLink(const QString& link) {
    constexpr std::int32_t kFileNotFound = 2;
    constexpr std::int32_t kNoAssociation = 31;
    constexpr std::int32_t kOpened = 42;
    const QUrl url = QUrl::fromUserInput(link.trimmed());
    if (link.trimmed().isEmpty() || !url.isValid()) return kFileNotFound;
    return QDesktopServices::openUrl(url) ? kOpened : kNoAssociation;
}

bool Bevelo::PaintIconGrayscale(QPainter* dc, const QImage& icon, int x, int y, int height,
                                int width) {
    if (!dc || icon.isNull()) return false;
    dc->drawImage(QRect(x, y, width, height), bevelo::grayscaleIcon(icon));
    return true;
}

// --- caption, mnemonic and accessibility -----------------------------------

void Bevelo::captionChanged() {
    updateMnemonic();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    bevelo::raiseAccessibleEvent(event);
}

void Bevelo::updateMnemonic() {
    const QKeySequence key = QKeySequence::mnemonic(m_props.Caption);
    if (m_mnemonicId != 0 && key == m_mnemonicKey) return;
    if (m_mnemonicId != 0) releaseShortcut(m_mnemonicId);
    m_mnemonicId = key.isEmpty() ? 0 : grabShortcut(key);
    m_mnemonicKey = key;
}
