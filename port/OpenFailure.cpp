#include "port/OpenFailure.h"

#include <QFile>
#include <QFileInfo>

#include "port/DeviceKind.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

bool deviceAccessible(const QString& device) {
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(device);
    return true;
#endif
}

}  // namespace

DeviceFacts examineDevice(const QString& device) {
    DeviceFacts facts;
    facts.exists = QFileInfo::exists(device);
    if (!facts.exists) return facts;
    facts.accessible = deviceAccessible(device);
    facts.terminal = facts.accessible && isTerminalDevice(device);
    facts.lockNameTooLong = lockFileNameTooLong(device);
    return facts;
}

OpenOutcome classifyOpenError(QSerialPort::SerialPortError error, const DeviceFacts& facts) {
    if (!facts.exists || error == QSerialPort::DeviceNotFoundError) return OpenOutcome::NotFound;
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError) {
        if (!facts.accessible) return OpenOutcome::PermissionDenied;
        if (facts.lockNameTooLong) return OpenOutcome::Failed;
        if (facts.terminal) return OpenOutcome::Busy;  // OpenError: open through this very object
    }
    if (!facts.terminal) return OpenOutcome::NotSerialDevice;
    if (error == QSerialPort::UnsupportedOperationError) return OpenOutcome::SettingsRefused;
    return OpenOutcome::Failed;
}

QString openFailureReason(OpenOutcome outcome, const QString& device, const DeviceFacts& facts,
                          const QString& detail) {
    switch (outcome) {
        case OpenOutcome::Opened:
            return device;
        case OpenOutcome::Busy:
            return QStringLiteral("%1 is in use by another program.").arg(device);
        case OpenOutcome::NotFound:
            return QStringLiteral("%1: no such device.").arg(device);
        case OpenOutcome::PermissionDenied:
            return QStringLiteral(
                       "%1: permission denied. Add this user to the dialout group "
                       "(sudo usermod -aG dialout $USER) and log in again.")
                .arg(device);
        case OpenOutcome::NotSerialDevice:
            return QStringLiteral("%1 is not a serial device.").arg(device);
        case OpenOutcome::SettingsRefused:
            return QStringLiteral("%1 refused the setting: %2.").arg(device, detail);
        case OpenOutcome::Failed:
            break;
    }
    if (facts.lockNameTooLong)
        return QStringLiteral(
                   "The path %1 is too long for its lock file; map the port to a shorter "
                   "path (a symbolic link) instead.")
            .arg(device);
    return QStringLiteral("%1: %2").arg(device, detail);
}

OpenResult gatewayOpenFailure(QAbstractSocket::SocketError error, const GatewayAddress& address,
                              std::chrono::milliseconds within, const QString& detail) {
    const QString where = address.text();
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return {OpenOutcome::Failed,
                    QStringLiteral("%1: connection refused (nothing listens on port %2 of %3).")
                        .arg(where)
                        .arg(address.port)
                        .arg(address.host)};
        case QAbstractSocket::HostNotFoundError:
            return {OpenOutcome::NotFound,
                    QStringLiteral("%1: host %2 not found.").arg(where, address.host)};
        case QAbstractSocket::SocketTimeoutError:
            return {OpenOutcome::Failed,
                    QStringLiteral("%1: no connection within %2 s (gateway off or unreachable).")
                        .arg(where)
                        .arg(static_cast<double>(within.count()) / 1000.0)};
        default:
            return {OpenOutcome::Failed, QStringLiteral("%1: %2").arg(where, detail)};
    }
}
