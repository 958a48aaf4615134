#include "pages/Cj188Page.h"

#include "cj188/Cj188FieldRequests.h"
#include "cj188/Cj188Requests.h"
#include "pages/PageHost.h"
#include "widgets/FieldFilter.h"
#include "widgets/Fonts.h"
#include "widgets/LayoutControls.h"

Cj188Page::Cj188Page(PageHost& host, QWidget* mainPanel) : ProtocolPage(host) {
    using namespace layout;
    QWidget* p = panel_ = makePagePanel(mainPanel, QStringLiteral("CJ188"), {120, 600, 10455, 3015});
    const QFont lf = fonts::window();
    makeLabel(p, QStringLiteral("Label1"), QStringLiteral("DEVICE ID"), {240, 360, 975, 495}, lf);
    deviceId_ = makeField(p, QStringLiteral("Text1"), QStringLiteral("DEVICE ID"),
                          {1440, 240, 2175, 375}, 10, {});
    makeLabel(p, QStringLiteral("Label2"), QStringLiteral("Vendor Code"), {240, 960, 1215, 495},
              lf);
    vendorCodeLow_ = makeField(p, QStringLiteral("Text3"), QStringLiteral("Vendor Code"),
                               {1440, 840, 975, 375}, 2, QStringLiteral("33"));
    vendorCodeHigh_ = makeField(p, QStringLiteral("Text2"),
                                QStringLiteral("Vendor Code, second pair"), {2640, 840, 975, 375},
                                2, QStringLiteral("78"));
    makeLabel(p, QStringLiteral("Label3"), QStringLiteral("Meter Type"), {240, 1560, 1215, 495},
              lf);
    meterType_ = makeCombo(p, QStringLiteral("Combo7"), QStringLiteral("Meter Type"),
                           {1440, 1440, 2175, 360}, fonts::meterTypeCombo(),
                           {" - 10H", " - 11H", " - 12H", " - 13H", " - 19H", " - 20H", " - 21H"},
                           QStringLiteral(" - 10H"));
    buildCommonControls(p, QStringLiteral("Frame6"), QStringLiteral("Text4"),
                        QStringLiteral("Label5"), QStringLiteral("Frame1"),
                        QStringLiteral("RichTextBox1"));
    attachFilter(deviceId_, CharTest::DecimalRange);
    attachFilter(vendorCodeLow_, CharTest::DecimalRange);
    attachFilter(vendorCodeHigh_, CharTest::Numeric);
}

std::vector<ProtocolPage::ButtonAction> Cj188Page::buttonActions() {
    return {{QStringLiteral("Bevelo1"), [this] { readData(); }},
            {QStringLiteral("Bevelo3"), [this] { readId(); }},
            {QStringLiteral("Bevelo11"), [this] { startContinuousReading(); }},
            {QStringLiteral("Bevelo12"), [this] { stopContinuousReading(); }}};
}

void Cj188Page::readData() {
    if (!meterTypeAccepted()) return;
    const mb::Cj188Fields fields{deviceId_->text().toStdString(),
                                 vendorCodeLow_->text().toStdString(),
                                 vendorCodeHigh_->text().toStdString(),
                                 meterType_->currentText().toStdString()};
    send(mb::buildCj188ReadData(host().txBuffer(), fields), &mb::cj188ReadDataExchange);
}

void Cj188Page::readId() {
    if (!meterTypeAccepted()) return;
    send(mb::buildCj188ReadId(host().txBuffer(), meterType_->currentText().toStdString()),
         &mb::cj188ReadAddressExchange);
}

// A meter type that is no hex byte would send whatever T an earlier request left.
bool Cj188Page::meterTypeAccepted() {
    if (mb::meterTypeByte(meterType_->currentText().toStdString())) return true;
    host().showInputRefused(QStringLiteral("Meter Type"),
                            QStringLiteral("Meter Type must be a hex byte such as 10H"));
    return false;
}
