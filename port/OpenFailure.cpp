#include "port/OpenFailure.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

OpenOutcome classifyOpenError(QSerialPort::SerialPortError error, bool deviceExists,
                              bool accessible) {
    if (!deviceExists || error == QSerialPort::DeviceNotFoundError) return OpenOutcome::NotFound;
    switch (error) {
        case QSerialPort::PermissionError:
        case QSerialPort::OpenError:  // already open through this very object
            return accessible ? OpenOutcome::Busy : OpenOutcome::PermissionDenied;
        case QSerialPort::UnsupportedOperationError:
            return OpenOutcome::SettingsRefused;
        default:
            return OpenOutcome::Failed;
    }
}

bool deviceAccessible(const QString& device) {
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(device);
    return true;
#endif
}
