// Faces drawn line by line and with gradients: styles 5, 7, 8, 9 and 10.
// Same contract as the routines of StyleDispatch.h: read props, rt.state (settled,
// 1..4), rt.hasFocus, rt.displayAsDefault, and change nothing but the surface.
// Property colours go through surface.resolve() before the colour arithmetic;
// FACE, SHADOW, HIGHLIGHT, WINDOW are surface.face() etc.
#pragma once

#include "widgets/BeveloFields.h"
#include "widgets/paint/Surface.h"

namespace bevelo {

void drawStyle5(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle7(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle8(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle9(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle10(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);

}  // namespace bevelo
