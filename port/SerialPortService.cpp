#include "port/SerialPortService.h"

#include <QFileInfo>

#include "port/SerialSettings.h"

SerialPortService::SerialPortService(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialPortService::bytesReceived);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialPortService::onError);
}

SerialPortService::~SerialPortService() {
    close();
}

OpenResult SerialPortService::open(int portNumber, const QString& settingsText) {
    close();
    const QString device = map_.device(portNumber);
    if (device.isEmpty())
        return {OpenOutcome::NotFound,
                QStringLiteral("COM%1 is not mapped to a device").arg(portNumber)};
    const auto settings = parseSerialSettings(settingsText);
    if (!settings)
        return {OpenOutcome::SettingsRefused,
                QStringLiteral("settings \"%1\" cannot be applied").arg(settingsText)};
    port_.setPortName(device);
    if (!applyBeforeOpen(port_, *settings))
        return {OpenOutcome::SettingsRefused,
                QStringLiteral("%1 refused \"%2\"").arg(device, settingsText)};
    if (!port_.open(QIODevice::ReadWrite)) return failure(portNumber, device);
    openNumber_ = portNumber;
    return {OpenOutcome::Opened, device};
}

OpenResult SerialPortService::probe(int portNumber) {
    close();
    const QString device = map_.device(portNumber);
    if (device.isEmpty()) return {OpenOutcome::NotFound, QString()};
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) return failure(portNumber, device);
    port_.close();
    return {OpenOutcome::Opened, device};
}

OpenResult SerialPortService::failure(int portNumber, const QString& device) {
    const QSerialPort::SerialPortError error = port_.error();
    const QString text = port_.errorString();
    if (port_.isOpen()) port_.close();
    port_.clearError();
    const bool exists = QFileInfo::exists(device);
    const OpenOutcome outcome =
        classifyOpenError(error, exists, exists && deviceAccessible(device));
    QString reason;
    switch (outcome) {
        case OpenOutcome::Busy:
            reason = QStringLiteral("%1 is in use by another program").arg(device);
            break;
        case OpenOutcome::PermissionDenied:
            reason = QStringLiteral("%1: permission denied (is this user in the dialout group?)")
                         .arg(device);
            break;
        case OpenOutcome::NotFound:
            reason = QStringLiteral("%1 does not exist").arg(device);
            break;
        default:
            reason = QStringLiteral("COM%1 (%2): %3").arg(portNumber).arg(device, text);
            break;
    }
    return {outcome, reason};
}

void SerialPortService::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
    openNumber_ = 0;
}

bool SerialPortService::write(const QByteArray& bytes) {
    if (!port_.isOpen()) return false;
    return port_.write(bytes) == bytes.size();
}

void SerialPortService::onError(QSerialPort::SerialPortError error) {
    // A vanished device keeps raising these while the port stays open; only
    // closing it ends the loop.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
    if (!port_.isOpen()) return;
    const QString reason = QStringLiteral("%1: %2").arg(port_.portName(), port_.errorString());
    port_.close();
    port_.clearError();
    openNumber_ = 0;
    // Announce after QSerialPort has left its notifier callback.
    QMetaObject::invokeMethod(
        this, [this, reason] { emit connectionLost(reason); }, Qt::QueuedConnection);
}
