// The 3-D edge of a desktop push button, drawn from the palette's light, midlight,
// dark and shadow colours.
#pragma once

#include <QImage>
#include <QPalette>

namespace bevelo {

// Edge kinds: an outer and an inner ring, each raised or sunken.
namespace edge {
constexpr int RaisedOuter = 1;                     // light (midlight) top-left, shadow bottom-right
constexpr int SunkenOuter = 2;                     // dark top-left, light bottom-right
constexpr int RaisedInner = 4;                     // light top-left, dark bottom-right
constexpr int SunkenInner = 8;                     // shadow top-left, midlight bottom-right
constexpr int Raised = RaisedOuter | RaisedInner;  // 5
constexpr int Sunken = SunkenOuter | SunkenInner;  // 10
}  // namespace edge

// Border flags: which sides are drawn.
namespace border {
constexpr int Left = 1;
constexpr int Top = 2;
constexpr int Right = 4;
constexpr int Bottom = 8;
constexpr int All = 15;
}  // namespace border

// Draws the edge on (x, y, x + w, y + h), right and bottom excluded. Each ring is a
// 1-pixel frame; the bottom and right sides own the bottom-left and top-right
// corners. With both rings the inner one lies 1 pixel inside the outer one; a
// single ring (kind 2 or 4 alone) is drawn on the outermost pixels.
// Colours: light = QPalette::Light, midlight = Midlight, dark = Dark, shadow = Shadow.
void drawEdgeOn(QImage& image, const QPalette& palette, int x, int y, int w, int h, int kind,
                int borderFlags);

}  // namespace bevelo
