// The data a Bevelo button keeps: its stored properties and its run-time state.
// Shared by the control (widgets/Bevelo) and its painter (widgets/paint) so the
// painter stays a plain function of these fields.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>

// A colour as the layout stores it: red in the low byte, or 0x80000000 + index
// for a system colour.
using OleColor = std::uint32_t;

struct BeveloProperties {
    std::int32_t Style = 0;
    std::int32_t NonThemeStyle = 0;
    QString Caption;
    std::int32_t CaptionAlign = 0;
    std::int32_t IconAlign = 0;
    QImage Icon;  // null when the button has no icon
    QFont Font;
    std::int32_t IconSize = 16;
    bool Enabled = true;
    bool ShowFocus = false;
    bool UseCustomColors = false;
    OleColor BackColor = 0;
    OleColor HighlightColor = 0;
    OleColor FontColor = 0;
    OleColor FontHighlightColor = 0;
    QString ToolTipText;
    QString ToolTipTitle;
    std::int32_t ToolTipIcon = 0;
    std::int32_t ToolTipType = 1;
    OleColor ToolTipBackColor = 0;
    OleColor ToolTipForeColor = 0;
    std::int32_t ButtonType = 0;
    bool Value = false;
    OleColor MaskColor = 0;
    bool UseMaskColor = false;
};

// Visual states of the control.
enum BeveloState : int { StateNormal = 1, StateHot = 2, StatePressed = 3, StateDisabled = 4 };

struct BeveloRuntime {
    int state = StateNormal;
    bool hasFocus = false;
    bool shown = false;
    bool mouseInside = false;
    bool userMode = true;           // ambient: run time (true) or design time (false)
    bool displayAsDefault = false;  // ambient
    int captionFormat = 37;         // text-format flags derived from CaptionAlign
    QRect clientRect;               // (0, 0, width, height)
    QRect captionRect;              // (4, 4, width - 4, height - 4), as left/top/right/bottom
};
