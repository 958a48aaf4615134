#include "pages/Cj188Page.h"

#include <QDateTime>
#include <QLineEdit>

#include "cj188/Cj188FieldRequests.h"
#include "cj188/Cj188Requests.h"
#include "pages/OperationsButton.h"
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
    // Below Read ID, left of the continuous-reading frame: free in the layout.
    makeOperationsButton(p, QStringLiteral("Cj188Operations"), {4200, 1770, 1935, 345},
                         {{QStringLiteral("Read last month (D120)"), [this] { readIdentifier(0xD120); }},
                          {QStringLiteral("Read prices (8102)"), [this] { readIdentifier(0x8102); }},
                          {QStringLiteral("Read settlement day (8103)"), [this] { readIdentifier(0x8103); }},
                          {QStringLiteral("Open valve…"), [this] { setValve(true); }},
                          {QStringLiteral("Close valve…"), [this] { setValve(false); }},
                          {QStringLiteral("Set clock to now…"), [this] { setClockToNow(); }}});
}

std::optional<std::pair<std::uint8_t, std::string>> Cj188Page::meterOfFields() {
    if (!meterTypeAccepted()) return std::nullopt;
    const QString number = deviceId_->text().trimmed().rightJustified(10, QLatin1Char('0'));
    const std::string plate = (vendorCodeHigh_->text() + vendorCodeLow_->text() + number).toStdString();
    if (!mb::cj188AddressFromPlate(plate)) {
        host().showInputRefused(QStringLiteral("DEVICE ID"),
                                QStringLiteral("Vendor Code and DEVICE ID must make a 14-digit address"));
        return std::nullopt;
    }
    return std::pair{*mb::meterTypeByte(meterType_->currentText().toStdString()), plate};
}

void Cj188Page::readIdentifier(std::uint16_t dataId) {
    const auto meter = meterOfFields();
    if (!meter) return;
    sendOperation(mb::cj188ReadDataExchange(
        mb::cj188Read(meter->first, *mb::cj188AddressFromPlate(meter->second), dataId)));
}

void Cj188Page::setValve(bool open) {
    const auto meter = meterOfFields();
    if (!meter) return;
    sendWrite(QStringLiteral("CJ/T 188 meter %1").arg(QString::fromStdString(meter->second)),
              open ? QStringLiteral("Open the valve") : QStringLiteral("Close the valve"),
              mb::cj188WriteExchange(mb::cj188Valve(meter->first, *mb::cj188AddressFromPlate(meter->second), open),
                                     "Valve control"));
}

void Cj188Page::setClockToNow() {
    const auto meter = meterOfFields();
    if (!meter) return;
    const QDateTime now = QDateTime::currentDateTime();
    const mb::Cj188Time t{now.date().year(), now.date().month(), now.date().day(),
                          now.time().hour(), now.time().minute(), now.time().second()};
    sendWrite(QStringLiteral("CJ/T 188 meter %1").arg(QString::fromStdString(meter->second)),
              QStringLiteral("Set the clock to %1").arg(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
              mb::cj188WriteExchange(mb::cj188SetClock(meter->first, *mb::cj188AddressFromPlate(meter->second), t),
                                     "Set clock"));
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
