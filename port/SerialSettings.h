// The settings text of the port: "2400,E,8,1" = baud, parity letter
// (N, O, E, M, S), data bits (6, 7, 8), stop bits (1, 1.5, 2).
#pragma once

#include <QSerialPort>
#include <QString>
#include <optional>

struct SerialSettings {
    qint32 baudRate = 2400;
    QSerialPort::Parity parity = QSerialPort::EvenParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

// Empty when any of the four parts is missing or not one of the accepted values.
std::optional<SerialSettings> parseSerialSettings(const QString& text);

// Windows keeps 1.5 stop bits; termios has only one or two.
constexpr bool systemHasOneAndHalfStopBits() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

// Applies every setting to a port that is not yet open, so that open() sets
// them in one go (a pseudo-terminal refuses a parity change after open).
// False when the port refuses one of them.
bool applyBeforeOpen(QSerialPort& port, const SerialSettings& settings);

// Opens `device` as it is and gives it the settings one at a time: the first
// one it refuses, as the user chose it ("parity EVEN"); empty when the device
// does not open or takes them all.
QString firstRefusedSetting(const QString& device, const SerialSettings& settings);
