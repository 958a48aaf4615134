#include "widgets/LayoutFrame.h"

#include <QPainter>

void LayoutFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const int lineY = title().isEmpty() ? 0 : fm.height() / 2;
    const QRect box = rect().adjusted(0, lineY, -1, -1);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    p.setPen(shadow);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(light);
    p.drawRect(box.adjusted(1, 1, 0, 0));
    if (title().isEmpty()) return;
    const QRect caption(8, 0, fm.horizontalAdvance(title()) + 2, fm.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
}
