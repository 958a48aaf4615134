#include "widgets/paint/Gradient.h"

#include "widgets/paint/ColorMath.h"
#include "widgets/paint/PixelOps.h"

namespace bevelo {

namespace {
int rampChannel(int start, int end, int i, int n) {
    const float step =
        static_cast<float>(end - start) * static_cast<float>(i) / static_cast<float>(n);
    const float value = static_cast<float>(start) + step;
    return roundHalfEven(value);
}
}  // namespace

OleColor rampColor(OleColor start, OleColor end, int i, int n) {
    if (n == 0) return start & 0x00FFFFFF;
    return rgb(rampChannel(redOf(start), redOf(end), i, n),
               rampChannel(greenOf(start), greenOf(end), i, n),
               rampChannel(blueOf(start), blueOf(end), i, n));
}

void verticalGradientOn(QImage& image, OleColor start, OleColor end, int x1, int top, int x2,
                        int n) {
    for (int i = 0; i <= n; ++i)
        drawLineOn(image, x1, top + i, x2, top + i, rampColor(start, end, i, n));
}

void horizontalGradientOn(QImage& image, OleColor start, OleColor end, int left, int y1, int right,
                          int y2) {
    const int n = right - left;
    for (int i = 0; i <= n; ++i)
        drawLineOn(image, left + i, y1, left + i, y2, rampColor(start, end, i, n));
}

}  // namespace bevelo
