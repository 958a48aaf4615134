// The Bevelo buttons of the main window, created from the stored layout that
// is compiled in (app/layout/buttons.json): each in its container at its
// layout position with its stored caption, style, colours and font.
#include <QDebug>

#include "app/ButtonLayoutResource.h"
#include "app/MainForm.h"
#include "widgets/Bevelo.h"
#include "widgets/BeveloLayout.h"

void MainForm::buildButtons() {
    initButtonLayoutResource();
    QString error;
    const QList<BeveloLayoutEntry> entries =
        bevelo::loadButtonLayout(bevelo::kButtonLayoutResource, &error);
    if (!error.isEmpty())
        qWarning("MeterBench: the stored button layout cannot be read: %s", qPrintable(error));
    QStringList missing;
    const QList<Bevelo*> buttons = bevelo::createButtons(
        entries, [this](const QString& container) { return m_c.containers.value(container); },
        nullptr, &missing);
    if (!missing.isEmpty())
        qWarning("MeterBench: buttons without their container: %s",
                 qPrintable(missing.join(QLatin1String(", "))));
    for (Bevelo* b : buttons) {
        b->setAccessibleDescription(b->objectName());
        m_c.buttons.insert(b->objectName(), b);
    }
}

void MainForm::setCaptionOf(const char* buttonName, const QString& caption) {
    if (Bevelo* b = button(QString::fromLatin1(buttonName))) b->SetCaption(caption);
}
