// What a Bevelo button asks of the window that holds it: the site (its name
// and the tool tip text the window keeps for it), the ambient properties
// (run time or design time, shown as the default button) and the notice that
// a property changed, so the window knows its stored layout is out of date.
#pragma once

#include <QString>

class Bevelo;

class BeveloHost {
  public:
    virtual ~BeveloHost() = default;

    // Site: the control's name in the layout (its objectName by default).
    virtual QString siteName(const Bevelo& control) const;
    // Site: the tool tip text the window keeps for the control (the widget's
    // own toolTip by default, which Qt would show if the control left it there).
    virtual QString siteToolTipText(const Bevelo& control) const;
    virtual void setSiteToolTipText(Bevelo& control, const QString& text);

    // Ambient: true at run time, false in a designer.
    virtual bool ambientUserMode() const;
    // Ambient: the control is the window's default button.
    virtual bool ambientDisplayAsDefault(const Bevelo& control) const;

    // A setter changed `property`; the window's stored layout is now stale.
    virtual void propertyChanged(Bevelo& control, const QString& property);

    // The host used by controls that were given none: the running program.
    static BeveloHost& defaultHost();
};

// The running program's host: site data live on the widget, user mode is
// run time, DisplayAsDefault is a per-control flag, and property changes
// only mark the layout as changed.
class DefaultBeveloHost : public BeveloHost {
  public:
    bool ambientDisplayAsDefault(const Bevelo& control) const override;
    void propertyChanged(Bevelo& control, const QString& property) override;

    // Sets the control's DisplayAsDefault and tells the control it changed.
    void setDisplayAsDefault(Bevelo& control, bool value);

    bool layoutChanged() const { return m_layoutChanged; }
    void clearLayoutChanged() { m_layoutChanged = false; }

  private:
    bool m_layoutChanged = false;
};
