#include "widgets/BeveloHost.h"

#include <QVariant>

#include "widgets/Bevelo.h"

namespace {
// The default host keeps DisplayAsDefault as a property of the control.
constexpr const char* kDisplayAsDefaultProperty = "_bevelo_DisplayAsDefault";
}  // namespace

QString BeveloHost::siteName(const Bevelo& control) const {
    return control.objectName();
}

QString BeveloHost::siteToolTipText(const Bevelo& control) const {
    return control.toolTip();
}

void BeveloHost::setSiteToolTipText(Bevelo& control, const QString& text) {
    control.setToolTip(text);
}

bool BeveloHost::ambientUserMode() const {
    return true;
}

bool BeveloHost::ambientDisplayAsDefault(const Bevelo& control) const {
    Q_UNUSED(control);
    return false;
}

void BeveloHost::propertyChanged(Bevelo& control, const QString& property) {
    Q_UNUSED(control);
    Q_UNUSED(property);
}

BeveloHost& BeveloHost::defaultHost() {
    static DefaultBeveloHost host;
    return host;
}

bool DefaultBeveloHost::ambientDisplayAsDefault(const Bevelo& control) const {
    return control.property(kDisplayAsDefaultProperty).toBool();
}

void DefaultBeveloHost::propertyChanged(Bevelo& control, const QString& property) {
    Q_UNUSED(control);
    Q_UNUSED(property);
    m_layoutChanged = true;
}

void DefaultBeveloHost::setDisplayAsDefault(Bevelo& control, bool value) {
    control.setProperty(kDisplayAsDefaultProperty, value);
    control.ambientPropertyChanged(QStringLiteral("DisplayAsDefault"));
}
