// Why a port did not open, told apart the way the port list and the failure
// prompt need it: a busy port is listed as "COMn Occupy", a refused one is
// named in the list's tooltip, and the prompt carries the reason.
#pragma once

#include <QAbstractSocket>
#include <QSerialPort>
#include <QString>
#include <chrono>

#include "port/GatewayAddress.h"

enum class OpenOutcome {
    Opened,
    Busy,              // exists and this user may use it, but another program holds it
    NotFound,          // no device, or no device mapped to the number, or no such host
    PermissionDenied,  // this user may not read and write the device
    NotSerialDevice,   // a file, a directory, /dev/null: no terminal
    SettingsRefused,   // the settings text does not parse or the device refused a setting
    Failed,            // anything else
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::Failed;
    QString reason;  // for the user: what went wrong with which device
    bool ok() const { return outcome == OpenOutcome::Opened; }
};

// What is known of a device that did not open.
struct DeviceFacts {
    bool exists = false;
    bool accessible = false;       // this user may read and write it (access(2))
    bool terminal = false;         // a serial device or a pty
    bool lockNameTooLong = false;  // see lockFileNameTooLong
};

DeviceFacts examineDevice(const QString& device);

// Qt reports PermissionError for a port held by someone else, for a device this
// user may not open and for a lock file that cannot be made; the facts tell
// them apart.
OpenOutcome classifyOpenError(QSerialPort::SerialPortError error, const DeviceFacts& facts);

// The reason the user reads; `detail` is the system's message, or for refused
// settings the setting that was refused.
QString openFailureReason(OpenOutcome outcome, const QString& device, const DeviceFacts& facts,
                          const QString& detail);

// Why a gateway's connection was not made within `within`: refused (nothing
// listens on that port), no such host, no answer in time, or the system's
// message (`detail`).
OpenResult gatewayOpenFailure(QAbstractSocket::SocketError error, const GatewayAddress& address,
                              std::chrono::milliseconds within, const QString& detail);
