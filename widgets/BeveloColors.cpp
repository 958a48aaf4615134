#include "widgets/BeveloColors.h"

#include <optional>

namespace bevelo {

namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Where each system colour lives in a Qt palette; indices without a
// counterpart (25 and above 30) cannot be translated.
std::optional<PaletteEntry> paletteEntryFor(int index) {
    constexpr auto A = QPalette::Active;
    constexpr auto I = QPalette::Inactive;
    constexpr auto D = QPalette::Disabled;
    switch (index) {
        case SysScrollBar:
            return PaletteEntry{A, QPalette::Midlight};
        case SysDesktop:
            return PaletteEntry{A, QPalette::Dark};
        case SysActiveCaption:
            return PaletteEntry{A, QPalette::Highlight};
        case SysInactiveCaption:
            return PaletteEntry{I, QPalette::Highlight};
        case SysMenu:
            return PaletteEntry{A, QPalette::Window};
        case SysWindow:
            return PaletteEntry{A, QPalette::Base};
        case SysWindowFrame:
            return PaletteEntry{A, QPalette::Shadow};
        case SysMenuText:
            return PaletteEntry{A, QPalette::WindowText};
        case SysWindowText:
            return PaletteEntry{A, QPalette::Text};
        case SysCaptionText:
            return PaletteEntry{A, QPalette::HighlightedText};
        case SysActiveBorder:
            return PaletteEntry{A, QPalette::Button};
        case SysInactiveBorder:
            return PaletteEntry{I, QPalette::Button};
        case SysAppWorkspace:
            return PaletteEntry{A, QPalette::Mid};
        case SysHighlight:
            return PaletteEntry{A, QPalette::Highlight};
        case SysHighlightText:
            return PaletteEntry{A, QPalette::HighlightedText};
        case SysButtonFace:
            return PaletteEntry{A, QPalette::Button};
        case SysButtonShadow:
            return PaletteEntry{A, QPalette::Dark};
        case SysGrayText:
            return PaletteEntry{D, QPalette::Text};
        case SysButtonText:
            return PaletteEntry{A, QPalette::ButtonText};
        case SysInactiveCaptionText:
            return PaletteEntry{I, QPalette::HighlightedText};
        case SysButtonHighlight:
            return PaletteEntry{A, QPalette::Light};
        case SysDarkShadow:
            return PaletteEntry{A, QPalette::Shadow};
        case SysLight:
            return PaletteEntry{A, QPalette::Midlight};
        case SysInfoText:
            return PaletteEntry{A, QPalette::ToolTipText};
        case SysInfoBackground:
            return PaletteEntry{A, QPalette::ToolTipBase};
        case SysHotLight:
            return PaletteEntry{A, QPalette::Link};
        case SysGradientActiveCaption:
            return PaletteEntry{A, QPalette::Highlight};
        case SysGradientInactiveCaption:
            return PaletteEntry{I, QPalette::Highlight};
        case SysMenuHighlight:
            return PaletteEntry{A, QPalette::Highlight};
        case SysMenuBar:
            return PaletteEntry{A, QPalette::Window};
        default:
            return std::nullopt;
    }
}

}  // namespace

std::int32_t rgbOf(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor qcolorOf(std::int32_t rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

std::int32_t translateColor(OleColor color, const QPalette& palette) {
    const OleColor kind = color >> 24;
    if (kind == 0x00 || kind == 0x02) return static_cast<std::int32_t>(color & 0xFFFFFFu);
    if (kind != 0x80 || (color & 0x00FF0000u) != 0) return -1;
    const auto entry = paletteEntryFor(static_cast<int>(color & 0xFFFFu));
    if (!entry) return -1;
    return rgbOf(palette.color(entry->group, entry->role));
}

}  // namespace bevelo
