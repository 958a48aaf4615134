#include "widgets/paint/IconPainter.h"

#include <QPainter>

#include "widgets/paint/Grayscale.h"
#include "widgets/paint/StyleDispatch.h"

namespace bevelo {

namespace {
constexpr OleColor kShadowGrey = 0x808080;

// The icon on a scratch square (the mask surface): pixels the icon leaves
// transparent keep the mask colour and so stay transparent on the face.
QImage onMaskSurface(const QImage& icon, int size, OleColor mask) {
    QImage scratch(size, size, QImage::Format_RGB32);
    scratch.fill(toQRgb(mask));
    QPainter painter(&scratch);
    painter.drawImage(QRect(0, 0, size, size), icon);
    return scratch;
}

void paintIcon(Surface& s, const QImage& icon, int x, int y, int size) {
    QPainter painter(&s.image());
    painter.drawImage(QRect(x, y, size, size), icon);
}

void hotShadow(Surface& s, const BeveloProperties& p, int x, int y, int size) {
    if (p.UseMaskColor) {
        const OleColor mask = s.resolve(p.MaskColor);
        const QImage scratch = onMaskSurface(p.Icon, size, mask);
        for (int j = 0; j < size; ++j)
            for (int i = 0; i < size; ++i)
                if (static_cast<OleColor>(pixelOn(scratch, i, j)) != mask)
                    s.setPixel(x + i, y + j, kShadowGrey);
        return;
    }
    paintIcon(s, p.Icon, x, y, size);
    const std::int32_t back = s.pixel(1, 1);
    // One column and one row past the icon are included.
    for (int j = 0; j <= size; ++j)
        for (int i = 0; i <= size; ++i) {
            const std::int32_t c = s.pixel(x + i, y + j);
            if (c != -1 && c != back) s.setPixel(x + i, y + j, kShadowGrey);
        }
}

void maskedIcon(Surface& s, const BeveloProperties& p, int x, int y, int size) {
    const OleColor mask = s.resolve(p.MaskColor);
    const QImage scratch = onMaskSurface(p.Icon, size, mask);
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const auto c = static_cast<OleColor>(pixelOn(scratch, i, j));
            if (c == mask) continue;
            s.setPixel(x + i, y + j, p.Enabled ? c : threeWayGrey(c));
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
