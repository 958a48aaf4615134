// System colours of the button, taken from a QPalette at drawing time.
// A colour reference 0x80000000 + index names a system colour by its index
// (the classic desktop numbering below); any other value with a zero high
// byte is a plain RGB colour.
#pragma once

#include <QPalette>
#include <cstdint>

#include "widgets/BeveloFields.h"

namespace bevelo {

namespace syscolor {
constexpr int Window = 5;            // background of text windows (QPalette::Base)
constexpr int WindowText = 8;        // QPalette::Text
constexpr int Highlight = 13;        // selection highlight (QPalette::Highlight)
constexpr int HighlightText = 14;    // QPalette::HighlightedText
constexpr int ButtonFace = 15;       // QPalette::Button
constexpr int ButtonShadow = 16;     // QPalette::Dark
constexpr int GrayText = 17;         // disabled button text
constexpr int ButtonText = 18;       // QPalette::ButtonText
constexpr int ButtonHighlight = 20;  // QPalette::Light
constexpr int DarkShadow3D = 21;     // QPalette::Shadow
constexpr int Light3D = 22;          // QPalette::Midlight
constexpr int InfoText = 23;         // QPalette::ToolTipText
constexpr int InfoBackground = 24;   // QPalette::ToolTipBase
constexpr int Count = 31;            // indices 0..30 exist, 25 excepted
}  // namespace syscolor

constexpr OleColor systemColorRef(int index) {
    return 0x80000000u + static_cast<OleColor>(index);
}

// RGB of a system colour index from the palette (active group; grey text from the
// disabled group). Returns -1 for an index that names no system colour.
std::int32_t systemColor(int index, const QPalette& palette);

// The colour translation of the surface: a plain RGB value (high byte 0, or 2 for
// a palette-relative one) comes back as RGB, a system reference as the palette's
// colour; -1 when the value cannot be translated (unknown index, other high bytes).
std::int32_t translateColor(OleColor ref, const QPalette& palette);

// translateColor, but a value that cannot be translated keeps its low three
// bytes, so the colour arithmetic always has something to work on.
OleColor resolveColor(OleColor ref, const QPalette& palette);

}  // namespace bevelo
