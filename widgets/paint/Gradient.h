// Linear colour ramps of the button faces: per-channel interpolation in single
// precision, start + (end - start) * i / n, rounded to nearest with halves to even.
#pragma once

#include <QImage>

#include "widgets/BeveloFields.h"

namespace bevelo {

// Colour of step i of n between start and end (n > 0; n = 0 gives start).
OleColor rampColor(OleColor start, OleColor end, int i, int n);

// n + 1 horizontal lines, line i (0..n) from (x1, top + i) to (x2, top + i) (end
// point excluded, so x2 < x1 draws the single column x1) in rampColor(i, n).
// n < 0 draws nothing.
void verticalGradientOn(QImage& image, OleColor start, OleColor end, int x1, int top, int x2,
                        int n);

// One vertical line (x, y1)-(x, y2) (end point excluded) for every column x from
// left to right inclusive, column i in rampColor(i, right - left). A single row is
// y1 = row, y2 = row + 1. right < left draws nothing.
void horizontalGradientOn(QImage& image, OleColor start, OleColor end, int left, int y1, int right,
                          int y2);

}  // namespace bevelo
