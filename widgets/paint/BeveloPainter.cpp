// Placeholder drawing until the style routines land: face and caption only.
#include "widgets/paint/BeveloPainter.h"

#include <QPainter>

namespace bevelo {

void refresh(QImage& surface, BeveloProperties& props, BeveloRuntime& rt, const QPalette& palette) {
    surface.fill(palette.color(QPalette::Button));
    if (!rt.shown) return;
    QPainter p(&surface);
    p.setFont(props.Font);
    p.setPen(palette.color(QPalette::ButtonText));
    p.drawRect(surface.rect().adjusted(0, 0, -1, -1));
    p.drawText(surface.rect(), Qt::AlignCenter, props.Caption);
}

int captionFormatFor(int captionAlign, int previous) {
    switch (captionAlign) {
        case 0: return 37;
        case 1: return 36;
        case 2: return 38;
        case 3: return 33;
        case 4: return 41;
        default: return previous;
    }
}

QRegion windowRegion(int, int w, int h) { return QRegion(0, 0, w, h); }

}  // namespace bevelo
