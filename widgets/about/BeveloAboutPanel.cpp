#include "widgets/about/BeveloAboutPanel.h"

BeveloAboutPanel::BeveloAboutPanel(QWidget* control) : QWidget(control) { hide(); }

void BeveloAboutPanel::showPanel() {
    setParent(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("About Bevelo 3.4.0"));
    show();
}
