#include "app/WindowLayout.h"

#include "app/Logo.h"
#include "widgets/Fonts.h"
#include "widgets/LayoutControls.h"
#include "widgets/ReceivedPane.h"

using namespace layout;

void buildWindowBackground(QWidget* window) {
    installFontSubstitutions();
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, lightGrey());
    window->setPalette(pal);
    window->setAutoFillBackground(true);
    window->setFont(fonts::window());
}

void buildLogoFrame(QWidget* window) {
    QGroupBox* frame = makeFrame(window, QStringLiteral("Frame3"), {}, {120, 120, 2655, 1695});
    auto* logo = new QLabel(frame);
    identify(logo, QStringLiteral("Image1"), QStringLiteral("MeterBench logo"));
    place(logo, {120, 240, 2415, 1335});
    logo->setPixmap(drawLogo(logo->size(), window->devicePixelRatioF()));
}

void buildButtonFrames(QWidget* window) {
    makeFrame(window, QStringLiteral("Frame5"), {}, {120, 6720, 2655, 975});
    makeFrame(window, QStringLiteral("Frame4"), {}, {120, 7800, 2655, 1215});
}

QWidget* buildMainPanel(QWidget* window) {
    return makeFrame(window, QStringLiteral("mainpage"), {}, {2880, 120, 10695, 8895});
}

void buildReplyPanes(QWidget* mainPanel, WindowFrames& frames) {
    QGroupBox* received = makeFrame(mainPanel, QStringLiteral("Frame9"),
                                    QStringLiteral("Received Data"), {120, 3720, 10455, 2895});
    frames.receivedPane = new ReceivedPane(received);
    setUpPane(frames.receivedPane, QStringLiteral("RichTextBox2"), QStringLiteral("Received Data"),
              {120, 240, 10215, 2535});
    QGroupBox* analysis = makeFrame(mainPanel, QStringLiteral("Frame2"),
                                    QStringLiteral("Data Analysis"), {120, 6720, 10455, 2055});
    frames.analysisPane = makePane(analysis, QStringLiteral("RichTextBox3"),
                                   QStringLiteral("Data Analysis"), {120, 240, 10215, 1695});
}
