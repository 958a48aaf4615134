#include "cj188/page/ContinuousReading.h"

#include <QLineEdit>
#include <QPalette>

#include "app/MainForm.h"
#include "app/PageOperations.h"
#include "app/PageTimer.h"

void StartContinuousReading(PageOperations& page) {
    if (!page.form().PortConnected()) {
        page.form().showFailurePrompt();
        return;
    }
    page.timer().setEnabled(true);
    QLineEdit& field = page.intervalField();
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, kRunningFieldColor);
    field.setPalette(palette);
}
