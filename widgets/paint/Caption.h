// The caption of a button: its colour by state and its placement by format flags.
#pragma once

#include <Qt>

#include "widgets/BeveloFields.h"
#include "widgets/paint/Surface.h"

namespace bevelo {

// Text-format flag bits of the caption format (a single-line text format).
namespace textformat {
constexpr int Center = 0x01;
constexpr int Right = 0x02;
constexpr int VCenter = 0x04;
constexpr int Bottom = 0x08;
constexpr int SingleLine = 0x20;
constexpr int NoClip = 0x100;
}  // namespace textformat

// Caption colour: grey text when disabled; otherwise button text, or FontColor
// (state 1) / FontHighlightColor (hot, pressed) with custom colours.
OleColor captionColor(const Surface& surface, const BeveloProperties& props, int state);

// Qt alignment and text flags for a caption format ('&' marks a mnemonic).
int qtTextFlags(int captionFormat);

// Draws props.Caption inside (4, 4, W - 4, H - 4), clipped to it; the surface's
// text colour is set for the drawing and restored afterwards.
void drawCaption(Surface& surface, const BeveloProperties& props, int state, int captionFormat);

}  // namespace bevelo
