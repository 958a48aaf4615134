// Grey rendition of an icon, as a disabled button shows it.
#pragma once

#include <QImage>

#include "widgets/BeveloFields.h"

namespace bevelo {

// True for the sixteen greys 000000, 101010, ..., 808080, A0A0A0, ..., F0F0F0 and
// FFFFFF that keep their colour (909090 is not among them).
bool isKeptGrey(OleColor colour);

// Grey of one pixel: a kept grey as it is, anything else v, v, v with
// v = 0.33 red + 0.59 green + 0.11 blue (double precision, halves to even, at most 255).
OleColor grayscaleOf(OleColor colour);

// The icon with every pixel greyed and its transparency (mask) unchanged.
QImage grayscaleIcon(const QImage& icon);

// Draws the grey icon at (x, y) stretched to width x height. False, and nothing
// drawn, when the target or the icon is missing.
bool paintIconGrayscale(QImage& target, const QImage& icon, int x, int y, int height, int width);

}  // namespace bevelo
