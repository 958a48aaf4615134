// System colours for drawing: the control's colour translation (BeveloColors.h,
// system references 0x80000000 + index through the palette) plus the fallback
// the colour arithmetic needs.
#pragma once

#include <QPalette>

#include "widgets/BeveloColors.h"
#include "widgets/BeveloFields.h"

namespace bevelo {

// translateColor, but a value that cannot be translated keeps its low three
// bytes, so the colour arithmetic always has something to work on.
OleColor resolveColor(OleColor ref, const QPalette& palette);

}  // namespace bevelo
