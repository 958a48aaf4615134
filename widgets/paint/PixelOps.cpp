#include "widgets/paint/PixelOps.h"

#include <algorithm>
#include <cstdlib>

#include "widgets/paint/ColorMath.h"

namespace bevelo {

namespace {
bool inside(const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() && image.depth() == 32;
}

void horizontalRun(QImage& image, int y, int xFrom, int xTo, QRgb value) {
    // Fills columns xFrom..xTo - 1, clipped.
    if (y < 0 || y >= image.height() || image.depth() != 32) return;
    xFrom = std::max(xFrom, 0);
    xTo = std::min(xTo, image.width());
    if (xFrom >= xTo) return;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(line + xFrom, line + xTo, value);
}
}  // namespace

void setPixelOn(QImage& image, int x, int y, OleColor colour) {
    if (!inside(image, x, y)) return;
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = toQRgb(colour);
}

std::int32_t pixelOn(const QImage& image, int x, int y) {
    if (!inside(image, x, y)) return -1;
    return static_cast<std::int32_t>(
        fromQRgb(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]));
}

void drawLineOn(QImage& image, int x1, int y1, int x2, int y2, OleColor colour) {
    if (y1 == y2) {  // the common case: a row
        if (x1 <= x2)
            horizontalRun(image, y1, x1, x2, toQRgb(colour));
        else
            horizontalRun(image, y1, x2 + 1, x1 + 1, toQRgb(colour));
        return;
    }
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const int steps = std::max(dx, dy);
    int err = dx - dy;
    int x = x1, y = y1;
    for (int i = 0; i < steps; ++i) {
        setPixelOn(image, x, y, colour);
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
}

void fillRectOn(QImage& image, int left, int top, int right, int bottom, OleColor colour) {
    const QRgb value = toQRgb(colour);
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        horizontalRun(image, y, left, right, value);
}

void fillBoxOn(QImage& image, int x, int y, int w, int h, OleColor colour) {
    fillRectOn(image, x, y, x + w, y + h, colour);
}

void frameBoxOn(QImage& image, int x, int y, int w, int h, OleColor colour) {
    drawLineOn(image, x, y, x + w, y, colour);
    drawLineOn(image, x + w, y, x + w, y + h, colour);
    drawLineOn(image, x + w, y + h, x, y + h, colour);
    drawLineOn(image, x, y + h, x, y, colour);
}

}  // namespace bevelo
