#include "pages/Cj188Page.h"

#include <QDateTime>
#include <QLineEdit>
#include <QRegularExpression>

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
    makeOperationsButton(
        p, QStringLiteral("Cj188Operations"), {4200, 1770, 1935, 345},
        {{QStringLiteral("Read last month (D120)"), [this] { readIdentifier(0xD120); }},
         {QStringLiteral("Read prices (8102)"), [this] { readIdentifier(0x8102); }},
         {QStringLiteral("Read settlement day (8103)"), [this] { readIdentifier(0x8103); }},
         {QStringLiteral("Open valve…"), [this] { setValve(true); }},
         {QStringLiteral("Close valve…"), [this] { setValve(false); }},
         {QStringLiteral("Set clock to now…"), [this] { setClockToNow(); }},
         {QStringLiteral("Read monthly history"), {}, historyMonths()},
         {QStringLiteral("Read reading day (8104)"), [this] { readIdentifier(0x8104); }},
         {QStringLiteral("Read purchases (8105)"), [this] { readIdentifier(0x8105); }},
         {QStringLiteral("Write address…"), [this] { writeAddress(); }},
         {QStringLiteral("Write settlement day…"), [this] { writeSettlementDay(); }},
         {QStringLiteral("Write synchronised reading…"), [this] { writeSyncReading(); }}});
}

// "1 month ago (D120)" .. "12 months ago (D12B)".
std::vector<Operation> Cj188Page::historyMonths() {
    std::vector<Operation> months;
    for (std::uint16_t i = 0; i < 12; ++i) {
        const auto di = static_cast<std::uint16_t>(mb::cj188di::kHistoryFirst + i);
        months.push_back({QStringLiteral("%1 %2 ago (D12%3)")
                              .arg(i + 1)
                              .arg(i == 0 ? QStringLiteral("month") : QStringLiteral("months"))
                              .arg(QString::number(i, 16).toUpper()),
                          [this, di] { readIdentifier(di); }});
    }
    return months;
}

QString Cj188Page::meterName(const std::string& plate) {
    return QStringLiteral("CJ/T 188 meter %1").arg(QString::fromStdString(plate));
}

void Cj188Page::writeAddress() {
    const auto meter = meterOfFields();
    if (!meter) return;
    const std::optional<QString> text = host().askInput(
        QStringLiteral("Write address"), QStringLiteral("New address, 14 digits as on the plate:"),
        QString::fromStdString(meter->second));
    if (!text) return;
    const std::optional<mb::Cj188Address> newAddress =
        mb::cj188AddressFromPlate(text->toStdString());
    if (!newAddress || text->contains(QLatin1Char('A'), Qt::CaseInsensitive)) {
        host().showInputRefused(QStringLiteral("Write address"),
                                QStringLiteral("\"%1\" is no address: 14 digits").arg(*text));
        return;
    }
    const QString plate = *text;
    sendWriteSequence(meterName(meter->second), QStringLiteral("Give it the address %1").arg(plate),
                      std::make_unique<mb::OneExchange>(mb::cj188WriteExchange(
                          mb::cj188WriteAddress(
                              meter->first, *mb::cj188AddressFromPlate(meter->second), *newAddress),
                          "Write address")),
                      [this, plate](const mb::ExchangeResult& result) {
                          // The fields follow the meter, so the next Read Data reaches it.
                          if (result.verdict != mb::Verdict::Acknowledged) return;
                          vendorCodeHigh_->setText(plate.left(2));
                          vendorCodeLow_->setText(plate.mid(2, 2));
                          deviceId_->setText(plate.mid(4));
                      });
}

void Cj188Page::writeSettlementDay() {
    const auto meter = meterOfFields();
    if (!meter) return;
    const std::optional<QString> text =
        host().askInput(QStringLiteral("Write settlement day"),
                        QStringLiteral("Settlement day of the month (1-31):"), QStringLiteral("1"));
    if (!text) return;
    bool ok = false;
    const int day = text->toInt(&ok);
    if (!ok || day < 1 || day > 31) {
        host().showInputRefused(QStringLiteral("Write settlement day"),
                                QStringLiteral("\"%1\" is no day of the month (1-31)").arg(*text));
        return;
    }
    sendWrite(
        meterName(meter->second), QStringLiteral("Set the settlement day to day %1").arg(day),
        mb::cj188WriteExchange(
            mb::cj188SetSettlementDay(meter->first, *mb::cj188AddressFromPlate(meter->second), day),
            "Set settlement day"));
}

void Cj188Page::writeSyncReading() {
    const auto meter = meterOfFields();
    if (!meter) return;
    const std::optional<QString> text =
        host().askInput(QStringLiteral("Write synchronised reading"),
                        QStringLiteral("Cumulative flow the meter shows from now on, m³ (0.01):"),
                        QStringLiteral("0.00"));
    if (!text) return;
    // Up to six whole digits and two decimals: what four BCD bytes in 0.01 m³ hold.
    static const QRegularExpression kFlow(QStringLiteral("^(\\d{1,6})(?:[.,](\\d{1,2}))?$"));
    const QRegularExpressionMatch m = kFlow.match(*text);
    if (!m.hasMatch()) {
        host().showInputRefused(
            QStringLiteral("Write synchronised reading"),
            QStringLiteral("\"%1\" is no reading: up to 999999.99 m³").arg(*text));
        return;
    }
    const std::uint64_t hundredths = m.captured(1).toULongLong() * 100 +
                                     m.captured(2).leftJustified(2, QLatin1Char('0')).toULongLong();
    const QString shown = QStringLiteral("%1.%2")
                              .arg(hundredths / 100)
                              .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    sendWrite(meterName(meter->second), QStringLiteral("Set its reading to %1 m³").arg(shown),
              mb::cj188WriteExchange(
                  mb::cj188WriteSyncReading(meter->first, *mb::cj188AddressFromPlate(meter->second),
                                            hundredths),
                  "Write synchronised reading"));
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
