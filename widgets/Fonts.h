// The layout names Windows fonts (SimSun, SimHei, Verdana, Times New Roman);
// they are mapped onto installed fonts so the Chinese caption of the settings
// frame renders as characters.
#pragma once

#include <QFont>
#include <QString>

// Registers the substitutions once per process; safe to call repeatedly.
void installFontSubstitutions();

// A font of the layout: family as the layout names it, size in points.
QFont layoutFont(const QString& family, qreal pointSize);

namespace fonts {
inline QFont window() {
    return layoutFont(QStringLiteral("SimSun"), 10.5);
}
inline QFont frame() {
    return layoutFont(QStringLiteral("SimSun"), 9);
}
inline QFont settingsLabel() {
    return layoutFont(QStringLiteral("SimSun"), 9);
}
inline QFont settingsCombo() {
    return layoutFont(QStringLiteral("Times New Roman"), 9);
}
inline QFont textField() {
    return layoutFont(QStringLiteral("SimSun"), 12);
}
inline QFont meterTypeCombo() {
    return layoutFont(QStringLiteral("SimHei"), 12);
}
inline QFont button() {
    return layoutFont(QStringLiteral("Verdana"), 8.25);
}
}  // namespace fonts
