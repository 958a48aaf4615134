// Bevelo: loading from and saving into the property bag kept with the
// window's layout. Keys keep their stored spelling ("USeCustomColors",
// "iNonThemeStyle", "Tooltiptitle", "ttBackColor", ...).
#include <QAccessible>

#include "widgets/Bevelo.h"
#include "widgets/BeveloAccessible.h"
#include "widgets/BeveloHost.h"
#include "widgets/BeveloPropertyBag.h"
#include "widgets/paint/SystemColors.h"

namespace {

constexpr std::int32_t kLightGrey = 12632256;  // C0C0C0

std::int32_t asInt(OleColor c) {
    return static_cast<std::int32_t>(c);
}
OleColor asColor(std::int32_t v) {
    return static_cast<OleColor>(v);
}

// A system colour as RGB under the palette at this moment.
std::int32_t systemRgb(const QPalette& palette, int index) {
    return bevelo::systemColor(index, palette);
}

}  // namespace

void Bevelo::loadProperties(const BeveloPropertyBag& bag) {
    const QPalette& pal = palette();
    m_rt.state = StateNormal;

    m_props.Icon = bag.readImage(QStringLiteral("Icon"), QImage());
    m_props.Style = bag.readInt(QStringLiteral("Style"), 3);
    m_props.Caption = bag.readString(QStringLiteral("Caption"), QStringLiteral("Bevelo"));
    m_props.IconSize = bag.readInt(QStringLiteral("IconSize"), 16);
    m_props.CaptionAlign = bag.readInt(QStringLiteral("CaptionAlign"), 0);
    m_props.IconAlign = bag.readInt(QStringLiteral("IconAlign"), 1);
    m_props.NonThemeStyle = bag.readInt(QStringLiteral("iNonThemeStyle"), 5);
    m_props.Enabled = bag.readBool(QStringLiteral("Enabled"), true);
    m_props.ShowFocus = bag.readBool(QStringLiteral("ShowFocus"), false);
    m_props.UseCustomColors = bag.readBool(QStringLiteral("USeCustomColors"), false);
    m_props.BackColor = asColor(
        bag.readInt(QStringLiteral("BackColor"), systemRgb(pal, bevelo::syscolor::ButtonFace)));
    m_props.HighlightColor = asColor(
        bag.readInt(QStringLiteral("HighlightColor"), systemRgb(pal, bevelo::syscolor::Highlight)));
    m_props.FontColor = asColor(
        bag.readInt(QStringLiteral("FontColor"), systemRgb(pal, bevelo::syscolor::ButtonText)));
    m_props.FontHighlightColor = asColor(bag.readInt(QStringLiteral("FontHighlightColor"),
                                                     systemRgb(pal, bevelo::syscolor::ButtonText)));

    // Read twice: the window gets the stored text (or keeps the control's),
    // then the control's own field takes the stored text or nothing.
    m_host->setSiteToolTipText(*this,
                               bag.readString(QStringLiteral("ToolTipText"), m_props.ToolTipText));
    m_props.ToolTipText = bag.readString(QStringLiteral("ToolTipText"), QString());

    m_props.ToolTipTitle = bag.readString(QStringLiteral("Tooltiptitle"), QString());
    m_props.ToolTipIcon = bag.readInt(QStringLiteral("ToolTipIcon"), 0);
    m_props.ToolTipType = bag.readInt(QStringLiteral("ToolTipType"), 1);
    // Crosswise on purpose: both keys are written with the same crossed
    // defaults, so a stored value reads back unchanged.
    m_props.ToolTipBackColor = asColor(
        bag.readInt(QStringLiteral("ttBackColor"), systemRgb(pal, bevelo::syscolor::InfoText)));
    m_props.ToolTipForeColor = asColor(bag.readInt(
        QStringLiteral("ttForeColor"), systemRgb(pal, bevelo::syscolor::InfoBackground)));

    m_props.Font = bag.readFont(QStringLiteral("Font"), font());
    setFont(m_props.Font);
    m_props.ButtonType = bag.readInt(QStringLiteral("ButtonType"), 0);
    m_props.Value = bag.readBool(QStringLiteral("Value"), false);
    m_props.UseMaskColor = bag.readBool(QStringLiteral("UseMaskColor"), false);
    m_props.MaskColor = asColor(bag.readInt(QStringLiteral("MaskColor"), kLightGrey));
    applyMousePointer(static_cast<short>(bag.readInt(QStringLiteral("MousePointer"), 0)));

    // The window state follows the stored Enabled, so a control drawn
    // disabled also takes no input.
    setEnabled(m_props.Enabled);
    if (m_host->ambientUserMode()) startWatchingMouse();
    updateMnemonic();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    bevelo::raiseAccessibleEvent(event);
    reshape();
}

void Bevelo::saveProperties(BeveloPropertyBag& bag) const {
    const QPalette& pal = palette();
    bag.writeImage(QStringLiteral("Icon"), m_props.Icon);
    bag.writeInt(QStringLiteral("Style"), m_props.Style, 3);
    bag.writeString(QStringLiteral("Caption"), m_props.Caption, QString());
    bag.writeInt(QStringLiteral("IconSize"), m_props.IconSize, 16);
    bag.writeInt(QStringLiteral("CaptionAlign"), m_props.CaptionAlign, 0);
    bag.writeInt(QStringLiteral("IconAlign"), m_props.IconAlign, 1);
    bag.writeInt(QStringLiteral("iNonThemeStyle"), m_props.NonThemeStyle, 5);
    bag.writeBool(QStringLiteral("Enabled"), m_props.Enabled, true);
    bag.writeBool(QStringLiteral("ShowFocus"), m_props.ShowFocus, false);
    bag.writeBool(QStringLiteral("USeCustomColors"), m_props.UseCustomColors, false);
    bag.writeInt(QStringLiteral("BackColor"), asInt(m_props.BackColor),
                 systemRgb(pal, bevelo::syscolor::ButtonFace));
    bag.writeInt(QStringLiteral("HighlightColor"), asInt(m_props.HighlightColor),
                 systemRgb(pal, bevelo::syscolor::Highlight));
    bag.writeInt(QStringLiteral("FontColor"), asInt(m_props.FontColor),
                 systemRgb(pal, bevelo::syscolor::ButtonText));
    bag.writeInt(QStringLiteral("FontHighlightColor"), asInt(m_props.FontHighlightColor),
                 systemRgb(pal, bevelo::syscolor::ButtonText));
    bag.writeString(QStringLiteral("ToolTipText"), m_props.ToolTipText,
                    m_host->siteToolTipText(*this));
    bag.writeString(QStringLiteral("Tooltiptitle"), m_props.ToolTipTitle, std::nullopt);
    bag.writeInt(QStringLiteral("ToolTipIcon"), m_props.ToolTipIcon, std::nullopt);
    bag.writeInt(QStringLiteral("ToolTipType"), m_props.ToolTipType, std::nullopt);
    bag.writeInt(QStringLiteral("ttBackColor"), asInt(m_props.ToolTipBackColor),
                 systemRgb(pal, bevelo::syscolor::InfoText));
    bag.writeInt(QStringLiteral("ttForeColor"), asInt(m_props.ToolTipForeColor),
                 systemRgb(pal, bevelo::syscolor::InfoBackground));
    bag.writeFont(QStringLiteral("Font"), Font());
    bag.writeInt(QStringLiteral("ButtonType"), m_props.ButtonType, 0);
    bag.writeBool(QStringLiteral("Value"), m_props.Value, false);
    bag.writeBool(QStringLiteral("UseMaskColor"), m_props.UseMaskColor, false);
    bag.writeInt(QStringLiteral("MaskColor"), asInt(m_props.MaskColor), kLightGrey);
    bag.writeInt(QStringLiteral("MousePointer"), m_mousePointer, 0);
}
