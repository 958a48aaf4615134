// Style 10's fixed rounded-button image: which variant a state shows.
#pragma once

#include "widgets/paint/DrawnFaceKit.h"

namespace bevelo::drawn {

// A normal; B hot, or normal/disabled with the focus; C pressed (and any other state).
enum class RoundVariant { A, B, C };
RoundVariant roundVariantFor(int state, bool hasFocus);

// Centre fill of variant A: red E8, green E7, blue EA.
constexpr OleColor kRoundCentreA = hex(0xE8E7EA);

}  // namespace bevelo::drawn
