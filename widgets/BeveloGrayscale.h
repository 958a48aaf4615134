// The grey rendition of an icon used when a disabled button draws it.
#pragma once

#include <QImage>

namespace bevelo {

// Every pixel becomes grey v, v, v with v = 0.33 red + 0.59 green + 0.11 blue
// (rounded, halves to even, at most 255), except the sixteen greys 000000,
// 101010, ..., 808080, A0A0A0, ..., FFFFFF (909090 is not one of them), which
// stay as they are. Transparency is kept.
QImage grayscaleIcon(const QImage& icon);

}  // namespace bevelo
