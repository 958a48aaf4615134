#include "app/Indicator.h"

#include <QPainter>

Indicator::Indicator(QWidget* parent, QColor color) : QWidget(parent), m_color(color) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void Indicator::setColor(QColor color) {
    if (color == m_color) return;
    m_color = color;
    update();
}

void Indicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(m_color.darker(150), 1));
    p.setBrush(m_color);
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
