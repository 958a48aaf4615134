// The icon of a button: placement, pressed offset, the hot shadow of style 4,
// mask-colour transparency and the disabled grey.
#pragma once

#include <QPoint>

#include "widgets/BeveloFields.h"
#include "widgets/paint/Surface.h"

namespace bevelo {

// Top-left corner of an S x S icon on a W x H face by IconAlign (0 centre, 1 left,
// 2 right, 3 top, 4 bottom; other values (0, 0)), side-aligned icons `margin`
// pixels from the edge; halves rounded to even.
QPoint iconPosition(int iconAlign, int W, int H, int S, int margin);

// Draws props.Icon (when set) for the settled state: one pixel right and down when
// pressed; raised by 2 over a grey 808080 shadow on style 4 when hot; with
// UseMaskColor only the pixels differing from MaskColor; grey when disabled.
void drawIcon(Surface& surface, const BeveloProperties& props, int state, int margin);

}  // namespace bevelo
