#include "pages/MbusPage.h"

#include <QDateTime>
#include <QLineEdit>

#include "mbus/MbusFieldRequests.h"
#include "mbus/MbusRequests.h"
#include "pages/OperationsButton.h"
#include "pages/PageHost.h"
#include "widgets/FieldFilter.h"
#include "widgets/Fonts.h"
#include "widgets/LayoutControls.h"

MbusPage::MbusPage(PageHost& host, QWidget* mainPanel) : ProtocolPage(host) {
    using namespace layout;
    QWidget* p = panel_ =
        makePagePanel(mainPanel, QStringLiteral("EN1434"), {120, 600, 10455, 3015});
    const QFont lf = fonts::window();
    makeLabel(p, QStringLiteral("Label8"), QStringLiteral("DEVICE ID"), {240, 600, 975, 495}, lf);
    deviceId_ = makeField(p, QStringLiteral("Text6"), QStringLiteral("DEVICE ID"),
                          {1320, 480, 2175, 375}, 2, {});
    makeLabel(p, QStringLiteral("Label6"), QStringLiteral("NEW ID"), {240, 1440, 1095, 495}, lf);
    newAddress_ = makeField(p, QStringLiteral("Text7"), QStringLiteral("NEW ID"),
                            {1320, 1320, 2175, 375}, 2, {});
    buildCommonControls(p, QStringLiteral("Frame7"), QStringLiteral("Text5"),
                        QStringLiteral("Label4"), QStringLiteral("Frame8"),
                        QStringLiteral("RichTextBox4"));
    attachFilter(deviceId_, CharTest::HexDigit);
    attachFilter(newAddress_, CharTest::HexDigit);
    // Below Modification ID, left of the continuous-reading frame: free in the layout.
    makeOperationsButton(p, QStringLiteral("MbusOperations"), {4200, 1770, 1935, 345},
                         {{QStringLiteral("Set clock to now…"), [this] { setClockToNow(); }},
                          {QStringLiteral("Application reset…"), [this] { applicationReset(); }},
                          {QStringLiteral("SND_NKE"), [this] { initialise(); }}});
}

std::uint8_t MbusPage::deviceAddress() const {
    bool ok = false;
    const uint value = deviceId_->text().trimmed().toUInt(&ok, 16);
    return ok && value <= 0xFF ? static_cast<std::uint8_t>(value) : 0;
}

void MbusPage::setClockToNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const mb::MbusDateTime t{now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                             now.time().minute()};
    sendWrite(QStringLiteral("M-Bus address %1").arg(deviceAddress()),
              QStringLiteral("Set the clock to %1").arg(now.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
              mb::mbusAcknowledgedExchange(mb::mbusSetDateTime(deviceAddress(), t), "set date and time"));
}

void MbusPage::applicationReset() {
    sendWrite(QStringLiteral("M-Bus address %1").arg(deviceAddress()), QStringLiteral("Reset the application"),
              mb::mbusAcknowledgedExchange(mb::mbusApplicationReset(deviceAddress()), "application reset"));
}

void MbusPage::initialise() {
    sendOperation(mb::mbusAcknowledgedExchange(mb::mbusSndNke(deviceAddress()), "SND_NKE"));
}

std::vector<ProtocolPage::ButtonAction> MbusPage::buttonActions() {
    return {{QStringLiteral("Bevelo17"), [this] { readData(); }},
            {QStringLiteral("Bevelo15"), [this] { modifyId(); }},
            {QStringLiteral("Bevelo13"), [this] { startContinuousReading(); }},
            {QStringLiteral("Bevelo14"), [this] { stopContinuousReading(); }}};
}

void MbusPage::readData() {
    send(mb::buildMbusReadData(host().txBuffer(), deviceId_->text().toStdString()),
         &mb::mbusReadExchange);
}

void MbusPage::modifyId() {
    // Whichever meter hears address 254 takes the new address, as the page says.
    send(mb::buildMbusModifyId(host().txBuffer(), newAddress_->text().toStdString()),
         [](std::vector<std::uint8_t> bytes) {
             return mb::mbusAcknowledgedExchange(std::move(bytes), "Modification ID");
         });
}
