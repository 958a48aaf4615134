// Shared vocabulary of the drawn faces (styles 5, 7, 8, 9, 10): colour literals
// written red first, the per-channel offset, the gradients in the faces' own
// argument order, and the inputs a face reads at drawing time.
#pragma once

#include "widgets/BeveloFields.h"
#include "widgets/paint/ColorMath.h"
#include "widgets/paint/Surface.h"

namespace bevelo::drawn {

// A colour literal written as 0xRRGGBB (red first) as the stored order 0x00BBGGRR.
constexpr OleColor hex(unsigned rrggbb) {
    return rgb(int((rrggbb >> 16) & 0xFF), int((rrggbb >> 8) & 0xFF), int(rrggbb & 0xFF));
}

inline OleColor add(OleColor c, int d) {
    return addOffset(c, d);
}

// vgrad(a -> b; x1, x2, top, n): n + 1 rows from `top`, each the line (x1, row)-(x2, row).
inline void vgrad(Surface& s, OleColor a, OleColor b, int x1, int x2, int top, int n) {
    s.verticalGradient(a, b, x1, top, x2, n);
}

// hgrad(a -> b; x1, x2, row): one pixel per column x1..x2 on `row`.
inline void hgrad(Surface& s, OleColor a, OleColor b, int x1, int x2, int row) {
    s.horizontalGradient(a, b, x1, row, x2, row + 1);
}

// What a face reads at drawing time, colours resolved for the arithmetic.
struct FaceInputs {
    int state = StateNormal;
    bool hasFocus = false;
    bool showFocus = false;
    bool displayAsDefault = false;
    bool custom = false;     // UseCustomColors
    OleColor back = 0;       // BackColor
    OleColor highlight = 0;  // HighlightColor
    OleColor face = 0;       // system button face
    OleColor selection = 0;  // system selection highlight
};

inline FaceInputs faceInputs(const Surface& s, const BeveloProperties& props,
                             const BeveloRuntime& rt) {
    FaceInputs in;
    in.state = rt.state;
    in.hasFocus = rt.hasFocus;
    in.showFocus = props.ShowFocus;
    in.displayAsDefault = rt.displayAsDefault;
    in.custom = props.UseCustomColors;
    in.back = s.resolve(props.BackColor);
    in.highlight = s.resolve(props.HighlightColor);
    in.face = s.face();
    in.selection = s.highlight();
    return in;
}

}  // namespace bevelo::drawn
