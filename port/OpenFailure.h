// Why a port did not open, told apart the way the port list needs it:
// a busy port is listed as "COMn Occupy", a refused one is named in the list's tooltip.
#pragma once

#include <QSerialPort>
#include <QString>

enum class OpenOutcome {
    Opened,
    Busy,              // exists and this user may use it, but another program holds it
    NotFound,          // no device, or no device mapped to the number
    PermissionDenied,  // this user may not read and write the device
    SettingsRefused,   // the settings text does not parse or the device refused a setting
    Failed,            // anything else
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::Failed;
    QString reason;  // for the user: what went wrong with which device
    bool ok() const { return outcome == OpenOutcome::Opened; }
};

// Qt reports PermissionError both for a port held by someone else and for a
// device this user may not open; `accessible` (read and write allowed for this
// user) tells the two apart.
OpenOutcome classifyOpenError(QSerialPort::SerialPortError error, bool deviceExists,
                              bool accessible);

// Whether this user may read and write `device` (access(2) with R_OK | W_OK).
bool deviceAccessible(const QString& device);
