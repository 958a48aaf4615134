#include "widgets/paint/SystemColors.h"

#include "widgets/paint/ColorMath.h"

namespace bevelo {

namespace {
struct RoleOf {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Palette role standing for each system colour index (0..30); index 25 names none.
constexpr RoleOf kRoles[syscolor::Count] = {
    {QPalette::Active, QPalette::Mid},              // 0 scroll bar
    {QPalette::Active, QPalette::Window},           // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Active, QPalette::Mid},              // 3 inactive caption
    {QPalette::Active, QPalette::Window},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Button},           // 10 active border
    {QPalette::Active, QPalette::Button},           // 11 inactive border
    {QPalette::Active, QPalette::Mid},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlight text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::ButtonText},     // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Disabled, QPalette::WindowText},     // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 info background
    {QPalette::Active, QPalette::NoRole},           // 25 none
    {QPalette::Active, QPalette::Link},             // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},        // 27 active caption gradient
    {QPalette::Active, QPalette::Mid},              // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},        // 29 menu highlight
    {QPalette::Active, QPalette::Window},           // 30 menu bar
};
}  // namespace

std::int32_t systemColor(int index, const QPalette& palette) {
    if (index < 0 || index >= syscolor::Count) return -1;
    const RoleOf r = kRoles[index];
    if (r.role == QPalette::NoRole) return -1;
    return static_cast<std::int32_t>(fromQRgb(palette.color(r.group, r.role).rgb()));
}

std::int32_t translateColor(OleColor ref, const QPalette& palette) {
    switch (ref >> 24) {
        case 0x00:
            return static_cast<std::int32_t>(ref);
        case 0x02:  // palette-relative RGB
            return static_cast<std::int32_t>(ref & 0x00FFFFFF);
        case 0x80:
            return systemColor(static_cast<int>(ref & 0x00FFFFFF), palette);
        default:
            return -1;
    }
}

OleColor resolveColor(OleColor ref, const QPalette& palette) {
    const std::int32_t t = translateColor(ref, palette);
    return t < 0 ? (ref & 0x00FFFFFF) : static_cast<OleColor>(t);
}

}  // namespace bevelo
