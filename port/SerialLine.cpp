#include "port/SerialLine.h"

#include "port/DeviceKind.h"

SerialLine::SerialLine(QObject* parent) : LineTransport(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &LineTransport::bytesReceived);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLine::onError);
}

SerialLine::~SerialLine() {
    close();
}

OpenResult SerialLine::open(const QString& device, const SerialSettings& settings,
                            const QString& settingsText) {
    close();
    // Qt would take 1.5 and quietly send one stop bit.
    if (settings.stopBits == QSerialPort::OneAndHalfStop && !systemHasOneAndHalfStopBits())
        return {OpenOutcome::SettingsRefused,
                QStringLiteral("1.5 stop bits are not supported by this system")};
    // A pty keeps no parity bit and always 8 data bits, and refuses a change of
    // nothing but those: exactly what a client killed while connected leaves
    // behind. Its connection must not depend on them.
    const bool pty = isPseudoTerminal(device);
    SerialSettings opening = settings;
    if (pty) {
        opening.parity = QSerialPort::NoParity;
        opening.dataBits = QSerialPort::Data8;
    }
    port_.setPortName(device);
    if (!applyBeforeOpen(port_, opening))
        return {OpenOutcome::SettingsRefused,
                QStringLiteral("%1 refused \"%2\".").arg(device, settingsText)};
    if (!port_.open(QIODevice::ReadWrite)) return failure(device, &settings);
    if (pty) {  // best effort: whatever of them the pty keeps
        port_.setParity(settings.parity);
        port_.setDataBits(settings.dataBits);
        port_.clearError();
    }
    onPseudoTerminal_ = pty;
    device_ = device;
    return {OpenOutcome::Opened, device};
}

OpenResult SerialLine::probe(const QString& device) {
    close();
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) return failure(device, nullptr);
    port_.close();
    return {OpenOutcome::Opened, device};
}

OpenResult SerialLine::failure(const QString& device, const SerialSettings* settings) {
    const QSerialPort::SerialPortError error = port_.error();
    QString detail = port_.errorString();
    if (port_.isOpen()) port_.close();
    port_.clearError();
    const DeviceFacts facts = examineDevice(device);
    const OpenOutcome outcome = classifyOpenError(error, facts);
    if (outcome == OpenOutcome::SettingsRefused && settings) {
        const QString refused = firstRefusedSetting(device, *settings);
        if (!refused.isEmpty()) detail = refused;
    }
    return {outcome, openFailureReason(outcome, device, facts, detail)};
}

void SerialLine::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
}

void SerialLine::pollReceived() {
    if (port_.isOpen()) port_.waitForReadyRead(0);
}

bool SerialLine::write(const QByteArray& bytes) {
    if (!port_.isOpen()) return false;
    return port_.write(bytes) == bytes.size();
}

void SerialLine::onError(QSerialPort::SerialPortError error) {
    // A vanished device keeps raising these while the port stays open; only
    // closing it ends the loop.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
    if (!port_.isOpen()) return;
    const QString reason = QStringLiteral("%1: %2").arg(device_, port_.errorString());
    port_.close();
    port_.clearError();
    // Announce after QSerialPort has left its notifier callback.
    QMetaObject::invokeMethod(
        this, [this, reason] { emit lost(reason); }, Qt::QueuedConnection);
}
