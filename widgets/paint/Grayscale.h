// Grey rendition of an icon drawn on a surface, as a disabled button shows it.
#pragma once

#include <QImage>

#include "widgets/BeveloGrayscale.h"

namespace bevelo {

// Draws grayscaleIcon(icon) at (x, y) stretched to width x height. False, and
// nothing drawn, when the target or the icon is missing.
bool paintIconGrayscale(QImage& target, const QImage& icon, int x, int y, int height, int width);

}  // namespace bevelo
