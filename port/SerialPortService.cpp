#include "port/SerialPortService.h"

#include "port/GatewayAddress.h"

SerialPortService::SerialPortService(QObject* parent) : QObject(parent) {
    for (LineTransport* line : {static_cast<LineTransport*>(&serial_), static_cast<LineTransport*>(&tcp_)}) {
        connect(line, &LineTransport::bytesReceived, this, &SerialPortService::bytesReceived);
        connect(line, &LineTransport::lost, this, [this](const QString& reason) {
            openNumber_ = 0;
            emit connectionLost(reason);
        });
    }
}

SerialPortService::~SerialPortService() {
    close();
}

OpenResult SerialPortService::open(int portNumber, const QString& settingsText) {
    close();
    const QString device = map_.device(portNumber);
    if (device.isEmpty())
        return {OpenOutcome::NotFound,
                QStringLiteral("COM%1 is not mapped to a device.").arg(portNumber)};
    OpenResult result = openDevice(device, settingsText);
    if (result.outcome == OpenOutcome::Opened) openNumber_ = portNumber;
    return result;
}

OpenResult SerialPortService::openDevice(const QString& device, const QString& settingsText) {
    close();
    const auto settings = parseSerialSettings(settingsText);
    if (!settings)
        return {OpenOutcome::SettingsRefused,
                QStringLiteral("The settings \"%1\" cannot be applied.").arg(settingsText)};
    OpenResult result;
    if (isGatewayText(device)) {
        QString why;
        const auto address = parseGatewayAddress(device, &why);
        if (!address) return {OpenOutcome::NotFound, QStringLiteral("%1 %2.").arg(device, why)};
        result = tcp_.open(*address, kConnectWithin);
        if (result.ok()) line_ = &tcp_;
    } else {
        result = serial_.open(device, *settings, settingsText);
        if (result.ok()) line_ = &serial_;
    }
    if (result.ok()) settings_ = *settings;
    return result;
}

OpenResult SerialPortService::probe(int portNumber) {
    close();
    const QString device = map_.device(portNumber);
    if (device.isEmpty()) return {OpenOutcome::NotFound, QString()};
    // Connecting to every gateway at each scan would cost seconds for one that
    // is off, and take the only connection some of them allow.
    if (isGatewayText(device)) return {OpenOutcome::Opened, device};
    return serial_.probe(device);
}

bool SerialPortService::setBaudRate(qint32 baud) {
    if (line_ != &serial_ || !serial_.setBaudRate(baud)) return false;
    settings_.baudRate = baud;
    return true;
}

void SerialPortService::close() {
    serial_.close();
    tcp_.close();
    line_ = nullptr;
    openNumber_ = 0;
}

void SerialPortService::pollReceived() {
    if (line_) line_->pollReceived();
}

bool SerialPortService::write(const QByteArray& bytes) {
    return line_ && line_->write(bytes);
}
