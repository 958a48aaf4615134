#include "widgets/paint/Grayscale.h"

#include <QPainter>
#include <algorithm>

#include "widgets/paint/ColorMath.h"

namespace bevelo {

bool isKeptGrey(OleColor colour) {
    const int r = redOf(colour);
    if (greenOf(colour) != r || blueOf(colour) != r) return false;
    if (r == 0xFF) return true;
    return (r & 0x0F) == 0 && r != 0x90;
}

OleColor grayscaleOf(OleColor colour) {
    colour &= 0x00FFFFFF;
    if (isKeptGrey(colour)) return colour;
    const double v = 0.33 * redOf(colour) + 0.59 * greenOf(colour) + 0.11 * blueOf(colour);
    const int g = std::min(roundHalfEven(v), 255);
    return rgb(g, g, g);
}

QImage grayscaleIcon(const QImage& icon) {
    QImage grey = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb alpha = line[x] & 0xFF000000u;
            line[x] = alpha | (toQRgb(grayscaleOf(fromQRgb(line[x]))) & 0x00FFFFFFu);
        }
    }
    return grey;
}

bool paintIconGrayscale(QImage& target, const QImage& icon, int x, int y, int height, int width) {
    if (target.isNull() || icon.isNull()) return false;
    QPainter painter(&target);
    if (!painter.isActive()) return false;
    painter.drawImage(QRect(x, y, width, height), grayscaleIcon(icon));
    return true;
}

}  // namespace bevelo
