#include "serial/port/SerialPortService.h"

#include <QFileInfo>

#include "serial/port/SerialSettings.h"

SerialPortService::SerialPortService(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPortService::bytesReceived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPortService::onError);
}

SerialPortService::~SerialPortService() {
    close();
}

OpenResult SerialPortService::open(int portNumber, const QString& settingsText) {
    close();
    const QString device = m_map.device(portNumber);
    if (device.isEmpty())
        return {OpenOutcome::NotFound,
                QStringLiteral("COM%1 is not mapped to a device").arg(portNumber)};
    const auto settings = parseSerialSettings(settingsText);
    if (!settings)
        return {OpenOutcome::SettingsRefused,
                QStringLiteral("settings \"%1\" cannot be applied").arg(settingsText)};
    m_port.setPortName(device);
    if (!applyBeforeOpen(m_port, *settings))
        return {OpenOutcome::SettingsRefused,
                QStringLiteral("%1 refused \"%2\"").arg(device, settingsText)};
    if (!m_port.open(QIODevice::ReadWrite)) return failure(portNumber, device);
    m_openNumber = portNumber;
    return {OpenOutcome::Opened, device};
}

OpenResult SerialPortService::probe(int portNumber) {
    close();
    const QString device = m_map.device(portNumber);
    if (device.isEmpty()) return {OpenOutcome::NotFound, QString()};
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) return failure(portNumber, device);
    m_port.close();
    return {OpenOutcome::Opened, device};
}

OpenResult SerialPortService::failure(int portNumber, const QString& device) {
    const QSerialPort::SerialPortError error = m_port.error();
    const QString text = m_port.errorString();
    if (m_port.isOpen()) m_port.close();
    m_port.clearError();
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
    if (m_port.isOpen()) m_port.close();
    m_port.clearError();
    m_openNumber = 0;
}

bool SerialPortService::write(const QByteArray& bytes) {
    if (!m_port.isOpen()) return false;
    return m_port.write(bytes) == bytes.size();
}

void SerialPortService::onError(QSerialPort::SerialPortError error) {
    // A vanished device keeps raising these while the port stays open; only
    // closing it ends the loop.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
    if (!m_port.isOpen()) return;
    const QString reason = QStringLiteral("%1: %2").arg(m_port.portName(), m_port.errorString());
    m_port.close();
    m_port.clearError();
    m_openNumber = 0;
    // Announce after QSerialPort has left its notifier callback.
    QMetaObject::invokeMethod(
        this, [this, reason] { emit connectionLost(reason); }, Qt::QueuedConnection);
}
