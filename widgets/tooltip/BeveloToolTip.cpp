#include "widgets/tooltip/BeveloToolTip.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include "widgets/paint/ColorMath.h"
#include "widgets/paint/SystemColors.h"

namespace {

constexpr int kPadding = 6;    // inside the body, around title and text
constexpr int kIconSize = 16;  // title icon edge
constexpr int kTitleGap = 4;   // between title row and text, and icon and title
constexpr int kMaxTextWidth = 320;
constexpr int kBalloonRadius = 8;
constexpr int kStemHeight = 12;
constexpr int kStemHalfBase = 8;
constexpr int kStemInset = 20;  // stem position from the body's left edge
constexpr int kCursorGap = 20;  // a rectangle tip sits this far below the pointer

QStyle::StandardPixmap iconFor(int icon) {
    switch (icon) {
        case 1:
            return QStyle::SP_MessageBoxInformation;
        case 2:
            return QStyle::SP_MessageBoxWarning;
        default:
            return QStyle::SP_MessageBoxCritical;
    }
}

// Pixels of `r` whose four neighbours all lie in `r`: the inside of a 1-pixel outline.
QRegion eroded(const QRegion& r) {
    return r & r.translated(1, 0) & r.translated(-1, 0) & r.translated(0, 1) & r.translated(0, -1);
}

}  // namespace

QColor BeveloToolTip::colorFromOle(OleColor value, const QPalette& palette) {
    return QColor::fromRgb(bevelo::toQRgb(bevelo::resolveColor(value, palette)));
}

BeveloToolTip::BeveloToolTip(QWidget* owner, const BeveloToolTipLook& look)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_owner(owner),
      m_look(look) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(QToolTip::font());
    const QPalette sys = QToolTip::palette();
    m_back =
        look.backColor != 0 ? colorFromOle(look.backColor, sys) : sys.color(QPalette::ToolTipBase);
    m_fore =
        look.foreColor != 0 ? colorFromOle(look.foreColor, sys) : sys.color(QPalette::ToolTipText);
    QPalette pal = sys;
    pal.setColor(QPalette::ToolTipBase, m_back);
    pal.setColor(QPalette::Window, m_back);
    pal.setColor(QPalette::ToolTipText, m_fore);
    pal.setColor(QPalette::WindowText, m_fore);
    setPalette(pal);

    m_wakeTimer.setSingleShot(true);
    m_wakeTimer.setInterval(style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, owner));
    connect(&m_wakeTimer, &QTimer::timeout, this, [this] {
        if (m_pointerInside && m_owner && m_owner->isVisible()) popUp();
    });
    layOut();
    if (m_owner) {
        m_owner->installEventFilter(this);
        m_wakeTimer.start();
    }
}

void BeveloToolTip::layOut() {
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(font());
    const QFontMetrics bfm(bold);

    const QRect textBounds =
        m_look.text.isEmpty() ? QRect()
                              : fm.boundingRect(QRect(0, 0, kMaxTextWidth, 10000),
                                                Qt::TextWordWrap | Qt::TextExpandTabs, m_look.text);
    int contentW = textBounds.width();
    int contentH = textBounds.height();
    int titleH = 0;
    if (hasTitleRow()) {
        const int iconW = hasTitleIcon() ? kIconSize : 0;
        const int titleTextW = m_look.title.isEmpty() ? 0 : bfm.horizontalAdvance(m_look.title);
        const int gap = (iconW && titleTextW) ? kTitleGap : 0;
        titleH =
            std::max(hasTitleIcon() ? kIconSize : 0, m_look.title.isEmpty() ? 0 : bfm.height());
        contentW = std::max(contentW, iconW + gap + titleTextW);
        contentH += titleH + (m_look.text.isEmpty() ? 0 : kTitleGap);
    }

    const int bodyW = contentW + 2 * kPadding + (isBalloon() ? 8 : 0);
    const int bodyH = contentH + 2 * kPadding;
    const int bodyTop = isBalloon() && m_stemAtTop ? kStemHeight : 0;
    m_bodyRect = QRect(0, bodyTop, std::max(bodyW, isBalloon() ? 2 * kStemInset : 8), bodyH);

    const int left = m_bodyRect.left() + kPadding + (isBalloon() ? 4 : 0);
    int y = m_bodyRect.top() + kPadding;
    if (hasTitleRow()) {
        int x = left;
        if (hasTitleIcon()) {
            m_iconRect = QRect(x, y + (titleH - kIconSize) / 2, kIconSize, kIconSize);
            x += kIconSize + kTitleGap;
        } else {
            m_iconRect = QRect();
        }
        m_titleRect = QRect(x, y, m_bodyRect.right() - kPadding - x + 1, titleH);
        y += titleH + kTitleGap;
    } else {
        m_titleRect = m_iconRect = QRect();
    }
    m_textRect = QRect(left, y, textBounds.width(), textBounds.height());

    if (!isBalloon()) {
        resize(m_bodyRect.size());
        m_outline = QPolygon(QRect(QPoint(0, 0), m_bodyRect.size()), true);
        clearMask();
        return;
    }
    resize(m_bodyRect.width(), m_bodyRect.height() + kStemHeight);
    const int stemX = std::clamp(m_stemX, kBalloonRadius + kStemHalfBase,
                                 m_bodyRect.width() - kBalloonRadius - kStemHalfBase);
    QPainterPath body;
    body.addRoundedRect(QRectF(m_bodyRect), kBalloonRadius, kBalloonRadius);
    QPolygonF stem;
    if (m_stemAtTop) {
        stem << QPointF(stemX - kStemHalfBase, m_bodyRect.top() + 1) << QPointF(m_stemX, 0)
             << QPointF(stemX + kStemHalfBase, m_bodyRect.top() + 1);
    } else {
        const qreal bottom = m_bodyRect.bottom() + 1;
        stem << QPointF(stemX - kStemHalfBase, bottom - 1) << QPointF(m_stemX, height())
             << QPointF(stemX + kStemHalfBase, bottom - 1);
    }
    QPainterPath stemPath;
    stemPath.addPolygon(stem);
    stemPath.closeSubpath();
    m_outline = body.united(stemPath).toFillPolygon().toPolygon();
    setMask(QRegion(m_outline, Qt::WindingFill));
}

QRect BeveloToolTip::screenAreaFor(QPoint globalPoint) const {
    if (QScreen* s = QGuiApplication::screenAt(globalPoint)) return s->availableGeometry();
    if (QScreen* s = QGuiApplication::primaryScreen()) return s->availableGeometry();
    return QRect(0, 0, 1 << 15, 1 << 15);
}

void BeveloToolTip::popUp() {
    // A control without tooltip text shows no tip at all (a title alone is not shown).
    if (m_look.text.isEmpty()) return;
    QPoint anchor = QCursor::pos();
    QRect ownerGlobal;
    if (m_owner) {
        ownerGlobal = QRect(m_owner->mapToGlobal(QPoint(0, 0)), m_owner->size());
        // The pointer is the anchor while it is over the control; otherwise the
        // control's centre, so the stem always points at the control.
        if (!ownerGlobal.contains(anchor)) anchor = ownerGlobal.center();
    }
    const QRect screen = screenAreaFor(anchor);
    if (!isBalloon()) {
        QPoint pos = anchor + QPoint(0, kCursorGap);
        if (pos.y() + height() > screen.bottom() + 1) pos.setY(anchor.y() - height() - 4);
        pos.setX(std::clamp(pos.x(), screen.left(),
                            std::max(screen.left(), screen.right() + 1 - width())));
        move(pos);
    } else {
        m_stemAtTop = true;
        m_stemX = 0;
        layOut();  // size with the stem on top first
        m_stemAtTop = anchor.y() + height() <= screen.bottom() + 1;
        int left = anchor.x() - kStemInset;
        left =
            std::clamp(left, screen.left(), std::max(screen.left(), screen.right() + 1 - width()));
        // Keep the stem's point on the anchor even when the body is pushed aside.
        m_stemX = std::clamp(anchor.x() - left, 0, width() - 1);
        layOut();
        const int top = m_stemAtTop ? anchor.y() : anchor.y() - height() + 1;
        move(left, top);
        m_stemTipGlobal = QPoint(left + m_stemX, m_stemAtTop ? top : top + height() - 1);
    }
    m_wakeTimer.stop();
    show();
    raise();
    update();
}

bool BeveloToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_owner) {
        switch (event->type()) {
            case QEvent::Enter:
                m_pointerInside = true;
                if (!isVisible()) m_wakeTimer.start();
                break;
            case QEvent::Leave:
            case QEvent::Hide:
            case QEvent::MouseButtonPress:
                // Leaving, hiding or clicking the control dismisses the tip.
                m_pointerInside = event->type() == QEvent::MouseButtonPress;
                m_wakeTimer.stop();
                hide();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BeveloToolTip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRegion shape(m_outline, Qt::WindingFill);
    const QRegion inside = eroded(shape);
    p.setClipRegion(shape - inside);
    p.fillRect(rect(), QToolTip::palette().color(QPalette::ToolTipText));
    p.setClipRegion(inside);
    p.fillRect(rect(), m_back);
    p.setClipping(false);

    if (hasTitleIcon()) {
        const QIcon icon = style()->standardIcon(iconFor(m_look.icon), nullptr, this);
        icon.paint(&p, m_iconRect);
    }
    p.setPen(m_fore);
    if (hasTitleRow() && !m_look.title.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(m_titleRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   m_look.title);
        p.setFont(font());
    }
    if (!m_look.text.isEmpty())
        p.drawText(m_textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs,
                   m_look.text);
}
