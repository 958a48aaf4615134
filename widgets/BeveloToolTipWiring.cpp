// Bevelo: the control's side of its own tooltip. While the pointer is over
// the control the window's tool tip text for it moves into the control, so
// that only the control's tooltip window shows it; the window gets the text
// back when the pointer leaves or the control is hidden.
#include "widgets/Bevelo.h"
#include "widgets/BeveloHost.h"
#include "widgets/tooltip/BeveloToolTip.h"

void Bevelo::buildToolTip() {
    m_props.ToolTipText = m_host->siteToolTipText(*this);
    m_host->setSiteToolTipText(*this, QString());
    m_toolTip.reset();  // a window from an earlier build goes first
    BeveloToolTipLook look;
    look.text = m_props.ToolTipText;
    look.title = m_props.ToolTipTitle;
    look.icon = m_props.ToolTipIcon;
    look.type = m_props.ToolTipType;
    look.backColor = m_props.ToolTipBackColor;
    look.foreColor = m_props.ToolTipForeColor;
    m_toolTip = std::make_unique<BeveloToolTip>(this, look);
}

void Bevelo::removeToolTip() {
    giveSiteItsToolTip();
    m_toolTip.reset();
}

void Bevelo::giveSiteItsToolTip() {
    m_host->setSiteToolTipText(*this, m_props.ToolTipText);
}

// A new text is handed to the window first and then taken as on entry, so
// the value set is the one shown. With the pointer elsewhere the window keeps
// the text (and the next entry takes it from there) and no tooltip window
// waits around.
void Bevelo::SetToolTipText(const QString& value) {
    m_props.ToolTipText = value;
    m_host->setSiteToolTipText(*this, value);
    buildToolTip();
    if (!m_rt.mouseInside) removeToolTip();
    notify("ToolTipText");
    Refresh();
}
