// Faces of the eleven button styles and the choice between them.
#pragma once

#include "widgets/BeveloFields.h"
#include "widgets/paint/Surface.h"

namespace bevelo {

// Style numbers.
enum : int {
    StyleStandard = 0,
    StyleSoftEdge = 1,
    StyleFlat = 2,
    StyleEtched = 3,
    StyleHighlightPanel = 4,
    StyleDrawnRounded = 5,
    StyleThemed = 6,
    StyleGradient = 7,
    StyleSoftGradient = 8,
    StyleBanded = 9,
    StyleRoundImage = 10,
};

// Distance of a side-aligned icon from the edge: 5 for styles 5 and 7, 7 for 9 and
// 10, 4 for all others.
int iconMarginFor(int style);

// Draws the face of props.Style for the state settled in rt.state. A style outside
// 0..10 draws nothing. Style 6 falls back to props.NonThemeStyle (stored into
// props.Style, in memory only) when no theme can draw it.
void drawFace(Surface& surface, BeveloProperties& props, const BeveloRuntime& rt);

// The face routines drawn with edges, fills and the theme (StandardStyles.cpp,
// ThemedStyle.cpp). Every face routine has this shape: it reads the settled
// state (rt.state 1..4), the focus flag and the colour properties, and changes
// nothing but the surface.
void drawStyle0(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle1(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle2(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle3(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
void drawStyle4(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);
// True when the theme drew the push button.
bool drawStyle6(Surface& surface, const BeveloProperties& props, const BeveloRuntime& rt);

}  // namespace bevelo
