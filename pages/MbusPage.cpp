#include "pages/MbusPage.h"

#include <QDateTime>
#include <QLineEdit>

#include "mbus/MbusFieldRequests.h"
#include "mbus/MbusRequests.h"
#include "mbus/SecondarySequence.h"
#include "mbus/TelegramSequence.h"
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
    makeOperationsButton(
        p, QStringLiteral("MbusOperations"), {4200, 1770, 1935, 345},
        {{QStringLiteral("Set clock to now…"), [this] { setClockToNow(); }},
         {QStringLiteral("Application reset…"), [this] { applicationReset(); }},
         {QStringLiteral("SND_NKE"), [this] { initialise(); }},
         {QStringLiteral("Read all telegrams"), [this] { readAllTelegrams(); }},
         {QStringLiteral("Read by secondary address…"), [this] { readBySecondary(); }},
         {QStringLiteral("Set primary address (NEW ID) by secondary address…"),
          [this] { setAddressBySecondary(); }},
         {QStringLiteral("Switch baud rate…"), [this] { switchBaudRate(); }},
         {QStringLiteral("Set clock to now with seconds (type I)…"),
          [this] { setClockToNow(mb::MbusTimeType::I); }}});
}

std::uint8_t MbusPage::deviceAddress() const {
    bool ok = false;
    const uint value = deviceId_->text().trimmed().toUInt(&ok, 16);
    return ok && value <= 0xFF ? static_cast<std::uint8_t>(value) : 0;
}

void MbusPage::setClockToNow(mb::MbusTimeType type) {
    const QDateTime now = QDateTime::currentDateTime();
    const mb::MbusDateTime t{now.date().year(), now.date().month(),  now.date().day(),
                             now.time().hour(), now.time().minute(), now.time().second()};
    const bool typeI = type == mb::MbusTimeType::I;
    sendWrite(QStringLiteral("M-Bus address %1").arg(deviceAddress()),
              QStringLiteral("Set the clock to %1 (type %2)")
                  .arg(now.toString(typeI ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                          : QStringLiteral("yyyy-MM-dd HH:mm")),
                       typeI ? QStringLiteral("I") : QStringLiteral("F")),
              mb::mbusAcknowledgedExchange(mb::mbusSetDateTime(deviceAddress(), t, type),
                                           "set date and time"));
}

void MbusPage::readAllTelegrams() {
    sendSequence(std::make_unique<mb::TelegramSequence>(deviceAddress()));
}

std::optional<std::pair<mb::SecondaryMask, QString>> MbusPage::askSecondary() {
    const std::optional<QString> id =
        host().askInput(QStringLiteral("Secondary address"),
                        QStringLiteral("Identification number, 8 digits (F for any digit):"),
                        QStringLiteral("FFFFFFFF"));
    if (!id) return std::nullopt;
    const std::optional<mb::SecondaryMask> mask = mb::secondaryMaskOf(id->toStdString());
    if (!mask) {
        host().showInputRefused(
            QStringLiteral("Secondary address"),
            QStringLiteral("\"%1\" is no identification number: 8 digits, F for any digit")
                .arg(*id));
        return std::nullopt;
    }
    return std::pair{*mask, id->toUpper()};
}

void MbusPage::readBySecondary() {
    const auto secondary = askSecondary();
    if (!secondary) return;
    sendSequence(std::make_unique<mb::SecondarySequence>(
        secondary->first, mb::mbusReadExchange(mb::mbusReqUd2(mb::kMbusAddressSelected))));
}

void MbusPage::setAddressBySecondary() {
    bool ok = false;
    const uint newAddress = newAddress_->text().trimmed().toUInt(&ok, 16);
    if (!ok || newAddress > 250) {
        host().showInputRefused(QStringLiteral("NEW ID"),
                                QStringLiteral("NEW ID must be a primary address, 00 to FA (hex)"));
        return;
    }
    const auto secondary = askSecondary();
    if (!secondary) return;
    sendWriteSequence(
        QStringLiteral("M-Bus meter with secondary address %1").arg(secondary->second),
        QStringLiteral("Give it primary address %1").arg(newAddress),
        std::make_unique<mb::SecondarySequence>(
            secondary->first,
            mb::mbusAcknowledgedExchange(
                mb::mbusSetAddress(mb::kMbusAddressSelected, static_cast<std::uint8_t>(newAddress)),
                "set primary address")));
}

void MbusPage::switchBaudRate() {
    const std::optional<QString> text = host().askInput(
        QStringLiteral("Baud rate"),
        QStringLiteral("New baud rate (300, 600, 1200, 2400, 4800, 9600, 19200, 38400):"),
        QStringLiteral("9600"));
    if (!text) return;
    const long baud = text->toLong();
    std::vector<std::uint8_t> bytes = mb::mbusSwitchBaud(deviceAddress(), baud);
    if (bytes.empty()) {
        host().showInputRefused(
            QStringLiteral("Baud rate"),
            QStringLiteral("\"%1\" is no M-Bus baud rate (300 to 38400)").arg(*text));
        return;
    }
    // The meter acknowledges at the old rate; only then does the line follow.
    sendWriteSequence(QStringLiteral("M-Bus address %1").arg(deviceAddress()),
                      QStringLiteral("Switch it to %1 baud (the line follows)").arg(baud),
                      std::make_unique<mb::OneExchange>(
                          mb::mbusAcknowledgedExchange(std::move(bytes), "switch baud rate")),
                      [this, baud](const mb::ExchangeResult& result) {
                          if (result.verdict == mb::Verdict::Acknowledged)
                              host().followBaudRate(baud);
                      });
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
