#include "widgets/BeveloGrayscale.h"

#include <algorithm>
#include <cmath>

namespace bevelo {

namespace {

bool isKeptGrey(QRgb p) {
    const int r = qRed(p), g = qGreen(p), b = qBlue(p);
    if (r != g || g != b) return false;
    if (r == 0xFF) return true;
    return (r & 0x0F) == 0 && r != 0x90;
}

}  // namespace

QImage grayscaleIcon(const QImage& icon) {
    QImage out = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            if (isKeptGrey(p)) continue;
            const double v = 0.33 * qRed(p) + 0.59 * qGreen(p) + 0.11 * qBlue(p);
            const int grey = std::min(255, static_cast<int>(std::nearbyint(v)));
            line[x] = qRgba(grey, grey, grey, qAlpha(p));
        }
    }
    return out;
}

}  // namespace bevelo
