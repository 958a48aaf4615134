// Shared vocabulary of the drawn faces (styles 5, 7, 8, 9, 10): colour literals
// written red first, the per-channel offset, the gradients in the faces' own
// argument order, and the inputs a face reads at drawing time.
#pragma once

#include <utility>

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

// The rim of the octagonal faces (styles 5 and 7): four border lines and the
// four inner corner pixels in `border`, the eight outer corner pixels in `outer`.
inline void octagonRim(Surface& c, int W, int H, OleColor border, OleColor outer) {
    c.drawLine(2, 0, W - 2, 0, border);
    c.drawLine(0, 2, 0, H - 2, border);
    c.drawLine(2, H - 1, W - 2, H - 1, border);
    c.drawLine(W - 1, 0, W - 1, H, border);
    for (auto [x, y] : {std::pair{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}})
        c.setPixel(x, y, border);
    for (auto [x, y] : {std::pair{1, 0},
                        {W - 2, 0},
                        {0, 1},
                        {0, H - 2},
                        {1, H - 1},
                        {W - 2, H - 1},
                        {W - 1, 1},
                        {W - 1, H - 2}})
        c.setPixel(x, y, outer);
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
