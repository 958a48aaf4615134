#include "widgets/Indicator.h"

#include <QPainter>

Indicator::Indicator(QWidget* parent, QColor color) : QWidget(parent), color_(color) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void Indicator::setColor(QColor color) {
    if (color == color_) return;
    color_ = color;
    update();
}

void Indicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color_.darker(150), 1));
    p.setBrush(color_);
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
