// Pixel primitives on any 32-bit QImage (RGB32 or ARGB32, premultiplied or not),
// in device pixels. Writes outside the image are dropped, reads outside it give -1.
// Colours are 0x00BBGGRR; pixels are written opaque.
#pragma once

#include <QImage>
#include <cstdint>

#include "widgets/BeveloFields.h"

namespace bevelo {

void setPixelOn(QImage& image, int x, int y, OleColor colour);
// Colour of the pixel, or -1 outside the image.
std::int32_t pixelOn(const QImage& image, int x, int y);

// Solid 1-pixel line from (x1, y1) to (x2, y2), the end point excluded
// (a line from (2, 1) to (5, 1) sets x = 2, 3, 4). Diagonals step like Bresenham.
void drawLineOn(QImage& image, int x1, int y1, int x2, int y2, OleColor colour);

// Solid fill of (left, top) .. (right, bottom), right column and bottom row excluded.
void fillRectOn(QImage& image, int left, int top, int right, int bottom, OleColor colour);

// Solid fill of (x, y, x + w, y + h), right and bottom excluded.
void fillBoxOn(QImage& image, int x, int y, int w, int h, OleColor colour);

// 1-pixel outline through (x, y) -> (x + w, y) -> (x + w, y + h) -> (x, y + h) -> (x, y):
// covers columns x..x + w and rows y..y + h (frame box (0, 0, W - 1, H - 1) is the
// control's outermost ring).
void frameBoxOn(QImage& image, int x, int y, int w, int h, OleColor colour);

}  // namespace bevelo
