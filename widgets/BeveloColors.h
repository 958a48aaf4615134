// Colours as the button control keeps them: 32-bit values with red in the low
// byte, or 0x80000000 + index for a system colour that follows the palette.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

#include "widgets/BeveloFields.h"
#include "widgets/paint/SystemColors.h"

namespace bevelo {

// System colour indices the window and the control use.
enum SystemColorIndex : int {
    SysScrollBar = 0,
    SysDesktop = 1,
    SysActiveCaption = 2,
    SysInactiveCaption = 3,
    SysMenu = 4,
    SysWindow = 5,
    SysWindowFrame = 6,
    SysMenuText = 7,
    SysWindowText = 8,
    SysCaptionText = 9,
    SysActiveBorder = 10,
    SysInactiveBorder = 11,
    SysAppWorkspace = 12,
    SysHighlight = 13,
    SysHighlightText = 14,
    SysButtonFace = 15,
    SysButtonShadow = 16,
    SysGrayText = 17,
    SysButtonText = 18,
    SysInactiveCaptionText = 19,
    SysButtonHighlight = 20,
    SysDarkShadow = 21,
    SysLight = 22,
    SysInfoText = 23,
    SysInfoBackground = 24,
    SysHotLight = 26,
    SysGradientActiveCaption = 27,
    SysGradientInactiveCaption = 28,
    SysMenuHighlight = 29,
    SysMenuBar = 30,
};

constexpr OleColor kSystemColorFlag = 0x80000000u;
constexpr OleColor systemColor(int index) {
    return kSystemColorFlag + static_cast<OleColor>(index);
}

// translateColor (the one colour translation of the control) comes from
// widgets/paint/SystemColors.h.

// RGB with red in the low byte <-> QColor.
std::int32_t rgbOf(const QColor& color);
QColor qcolorOf(std::int32_t rgb);

}  // namespace bevelo
