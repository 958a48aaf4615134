// The Bevelo buttons of the main window, each in its container at its layout
// position with its caption, style and colours.
#include "app/Fonts.h"
#include "app/MainForm.h"
#include "app/Twips.h"
#include "widgets/Bevelo.h"

namespace {

struct ButtonSpec {
    const char* name;
    const char* container;
    int l, t, w, h;
    const char* caption;
    int style;         // -1: the control's default
    qint64 backColor;  // -1: the control's default
    bool customColors;
};

constexpr ButtonSpec kButtons[] = {
    {"OpenCOomPort", "setpage", 1080, 2640, 1335, 375, "Connect", 7, 0xFFFFFF, false},
    {"Bevelo5", "setpage", 1080, 3480, 1335, 420, "0", 8, -1, false},
    {"Bevelo6", "setpage", 1080, 3960, 1335, 420, "0", 8, -1, false},
    {"Bevelo9", "Frame5", 120, 240, 2415, 615, "on-product information", 9, -1, false},
    {"Bevelo7", "Frame4", 120, 240, 975, 855, "Help", 10, -1, false},
    {"Bevelo8", "Frame4", 1560, 240, 975, 855, "EXIT", 10, -1, false},
    {"Bevelo2", "mainpage", 120, 240, 2295, 420, "CJ188", 7, 0xFFFFFF, true},
    {"Bevelo4", "mainpage", 2400, 240, 2295, 420, "EN1434", 7, 0xFFFFFF, true},
    {"Bevelo1", "CJ188", 4200, 480, 1935, 375, "Read Data", -1, -1, false},
    {"Bevelo3", "CJ188", 4200, 1320, 1935, 375, "Read ID", -1, -1, false},
    {"Bevelo11", "Frame6", 120, 360, 975, 495, "Start", 7, 0x00FF00, false},
    {"Bevelo12", "Frame6", 120, 960, 975, 495, "Stop", 7, -1, false},
    {"Bevelo17", "EN1434", 4200, 480, 1935, 375, "Read Data", -1, -1, false},
    {"Bevelo15", "EN1434", 4200, 1320, 1935, 375, "Modification ID", -1, -1, false},
    {"Bevelo13", "Frame7", 120, 360, 975, 495, "Start", 7, 0x00FF00, false},
    {"Bevelo14", "Frame7", 120, 960, 975, 495, "Stop", 7, -1, false},
};

}  // namespace

void MainForm::buildButtons() {
    for (const ButtonSpec& spec : kButtons) {
        QWidget* container = m_c.containers.value(QString::fromLatin1(spec.container));
        const QString name = QString::fromLatin1(spec.name);
        auto* button = new Bevelo(name, container);
        button->SetFont(fonts::button());
        if (spec.style >= 0) button->SetStyle(spec.style);
        if (spec.customColors) button->SetUseCustomColors(true);
        if (spec.backColor >= 0) button->SetBackColor(static_cast<quint32>(spec.backColor));
        button->SetCaption(QString::fromUtf8(spec.caption));
        button->setGeometry(twipsRect(spec.l, spec.t, spec.w, spec.h));
        button->setAccessibleDescription(name);
        m_c.buttons.insert(name, button);
    }
}
