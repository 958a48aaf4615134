#include "widgets/paint/IconPainter.h"

#include <QPainter>

#include "widgets/paint/Grayscale.h"
#include "widgets/paint/StyleDispatch.h"

namespace bevelo {

namespace {
constexpr OleColor kShadowGrey = 0x808080;

// The part of the square (x, y, size, size) that lies on the surface; the loops
// below stay inside it, so a huge IconSize costs no more than the surface.
QRect visiblePart(const Surface& s, int x, int y, int size, int extra = 0) {
    return QRect(x, y, size + extra, size + extra).intersected(QRect(0, 0, s.width(), s.height()));
}

// The icon, stretched to size x size at (x, y), on a scratch surface covering
// `part` (the mask surface): pixels the icon leaves transparent keep the mask
// colour and so stay transparent on the face.
QImage onMaskSurface(const QImage& icon, int x, int y, int size, const QRect& part, OleColor mask) {
    QImage scratch(part.size(), QImage::Format_RGB32);
    scratch.fill(toQRgb(mask));
    QPainter painter(&scratch);
    painter.translate(-part.x(), -part.y());
    painter.drawImage(QRect(x, y, size, size), icon);
    return scratch;
}

void paintIcon(Surface& s, const QImage& icon, int x, int y, int size) {
    QPainter painter(&s.image());
    painter.drawImage(QRect(x, y, size, size), icon);
}

void hotShadow(Surface& s, const BeveloProperties& p, int x, int y, int size) {
    if (p.UseMaskColor) {
        const OleColor mask = s.resolve(p.MaskColor);
        const QRect part = visiblePart(s, x, y, size);
        if (part.isEmpty()) return;
        const QImage scratch = onMaskSurface(p.Icon, x, y, size, part, mask);
        for (int j = 0; j < part.height(); ++j)
            for (int i = 0; i < part.width(); ++i)
                if (static_cast<OleColor>(pixelOn(scratch, i, j)) != mask)
                    s.setPixel(part.x() + i, part.y() + j, kShadowGrey);
        return;
    }
    paintIcon(s, p.Icon, x, y, size);
    const std::int32_t back = s.pixel(1, 1);
    // One column and one row past the icon are included.
    const QRect part = visiblePart(s, x, y, size, 1);
    for (int py = part.top(); py <= part.bottom(); ++py)
        for (int px = part.left(); px <= part.right(); ++px)
            if (s.pixel(px, py) != back) s.setPixel(px, py, kShadowGrey);
}

void maskedIcon(Surface& s, const BeveloProperties& p, int x, int y, int size) {
    const OleColor mask = s.resolve(p.MaskColor);
    const QRect part = visiblePart(s, x, y, size);
    if (part.isEmpty()) return;
    const QImage scratch = onMaskSurface(p.Icon, x, y, size, part, mask);
    for (int j = 0; j < part.height(); ++j)
        for (int i = 0; i < part.width(); ++i) {
            const auto c = static_cast<OleColor>(pixelOn(scratch, i, j));
            if (c == mask) continue;
            s.setPixel(part.x() + i, part.y() + j, p.Enabled ? c : threeWayGrey(c));
        }
}
}  // namespace

QPoint iconPosition(int iconAlign, int W, int H, int S, int margin) {
    const int centreX = roundHalfEven((W - S) / 2.0);
    const int centreY = roundHalfEven((H - S) / 2.0);
    switch (iconAlign) {
        case 0:
            return {centreX, centreY};
        case 1:
            return {margin, centreY};
        case 2:
            return {W - S - margin, centreY};
        case 3:
            return {centreX, margin};
        case 4:
            return {centreX, H - S - margin};
        default:
            return {0, 0};
    }
}

void drawIcon(Surface& s, const BeveloProperties& p, int state, int margin) {
    if (p.Icon.isNull()) return;
    const int size = p.IconSize;
    if (size <= 0) return;
    QPoint at = iconPosition(p.IconAlign, s.width(), s.height(), size, margin);
    if (state == StatePressed) {
        at += QPoint(1, 1);
    } else if (state == StateHot && p.Style == StyleHighlightPanel) {
        hotShadow(s, p, at.x(), at.y(), size);
        at -= QPoint(2, 2);
    }
    if (p.UseMaskColor)
        maskedIcon(s, p, at.x(), at.y(), size);
    else if (p.Enabled)
        paintIcon(s, p.Icon, at.x(), at.y(), size);
    else
        paintIconGrayscale(s.image(), p.Icon, at.x(), at.y(), size, size);
}

}  // namespace bevelo
