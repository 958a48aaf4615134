#include "widgets/about/BeveloAboutPanel.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kPanelWidth = 260;
constexpr int kPanelHeight = 150;
constexpr int kMargin = 12;
constexpr int kCloseWidth = 64;
constexpr int kCloseHeight = 22;

int clampChannel(int v) {
    return std::clamp(v, 0, 255);
}

QColor offset(const QColor& c, int d) {
    return QColor(clampChannel(c.red() + d), clampChannel(c.green() + d),
                  clampChannel(c.blue() + d));
}

}  // namespace

BeveloAboutPanel::BeveloAboutPanel(QWidget* control) : QWidget(control) {
    // Wide enough for the longest line in the panel's font.
    int widest = 0;
    for (const QString& line : lines())
        widest = std::max(widest, fontMetrics().horizontalAdvance(line));
    // A sizing frame: the panel may grow, never below the size its lines need.
    const QSize designed(std::max(kPanelWidth, widest + 2 * kMargin + 8), kPanelHeight);
    setMinimumSize(designed);
    resize(designed);
    hide();
}

QStringList BeveloAboutPanel::lines() {
    return {QStringLiteral("Bevelo"), QStringLiteral("Version 3.4.0"),
            QStringLiteral("by the MeterBench team"),
            QStringLiteral("https://meterbench.example.org/bevelo")};
}

QRect BeveloAboutPanel::closeButtonRect() const {
    return QRect(width() - kMargin - kCloseWidth, height() - kMargin - kCloseHeight, kCloseWidth,
                 kCloseHeight);
}

void BeveloAboutPanel::showPanel() {
    // Still owned by the control (so it goes with it), but a window of its own:
    // a caption and a minimise box only, no close box (a click puts it away).
    setParent(parentWidget(), Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("About Bevelo 3.4.0"));
    m_closeArmed = m_closePressed = false;
    show();
    raise();
}

void BeveloAboutPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor face = palette().color(QPalette::Button);
    const QColor shadow = palette().color(QPalette::Dark);

    // Face +15 at the top row down to face -15 at the bottom row.
    const int h = height();
    for (int y = 0; y < h; ++y) {
        const int d = h > 1 ? qRound(15.0 - 30.0 * y / (h - 1)) : 0;
        p.setPen(offset(face, d));
        p.drawLine(0, y, width() - 1, y);
    }

    p.setPen(shadow);
    const QStringList text = lines();
    QFont nameFont = font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    int y = kMargin;
    for (int i = 0; i < text.size(); ++i) {
        p.setFont(i == 0 ? nameFont : font());
        const int lineH = QFontMetrics(p.font()).height();
        p.drawText(QRect(kMargin, y, width() - 2 * kMargin, lineH),
                   Qt::AlignLeft | Qt::AlignVCenter, text[i]);
        y += lineH + (i == 0 ? 6 : 2);
        if (i == 0) p.drawLine(kMargin, y - 4, width() - kMargin - 1, y - 4);
    }

    // The Close button: a raised box, sunken while held down, its text nudged with it.
    const QRect b = closeButtonRect();
    const QColor light = palette().color(QPalette::Light);
    p.fillRect(b, m_closePressed ? offset(face, -8) : offset(face, 8));
    p.setPen(m_closePressed ? shadow : light);
    p.drawLine(b.topLeft(), b.topRight());
    p.drawLine(b.topLeft(), b.bottomLeft());
    p.setPen(m_closePressed ? light : shadow);
    p.drawLine(b.bottomLeft(), b.bottomRight());
    p.drawLine(b.topRight(), b.bottomRight());
    p.setFont(font());
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(m_closePressed ? b.translated(1, 1) : b, Qt::AlignCenter | Qt::TextSingleLine,
               QStringLiteral("Close"));
}

void BeveloAboutPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_closeArmed = m_closePressed = closeButtonRect().contains(event->position().toPoint());
    update();
}

void BeveloAboutPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_closeArmed) return;
    const bool onButton = closeButtonRect().contains(event->position().toPoint());
    if (onButton != m_closePressed) {
        m_closePressed = onButton;
        update();
    }
}

void BeveloAboutPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A click anywhere on the panel puts it away.
    m_closeArmed = m_closePressed = false;
    hide();
}
