#include "widgets/paint/SystemColors.h"

namespace bevelo {

OleColor resolveColor(OleColor ref, const QPalette& palette) {
    const std::int32_t t = translateColor(ref, palette);
    return t < 0 ? (ref & 0x00FFFFFF) : static_cast<OleColor>(t);
}

}  // namespace bevelo
