// The serial line of the main window on QSerialPort: opens a numbered port
// through the port map with a settings text, reports received bytes, writes
// byte arrays, and closes itself at once when the device goes away.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>

#include "port/OpenFailure.h"
#include "port/PortMap.h"
#include "port/SerialSettings.h"

class SerialPortService : public QObject {
    Q_OBJECT
  public:
    explicit SerialPortService(QObject* parent = nullptr);
    ~SerialPortService() override;

    void setPortMap(PortMap map) { map_ = std::move(map); }
    const PortMap& portMap() const { return map_; }

    // Opens COMn with the settings text ("2400,E,8,1"); every setting is given
    // to the port before it opens (on a pty, parity and data bits only as far as
    // it keeps them). On failure the port is closed and the result says why.
    OpenResult open(int portNumber, const QString& settingsText);
    // The same for a device path ("/dev/ttyUSB0"), outside the port map.
    OpenResult openDevice(const QString& device, const QString& settingsText);
    // Opens COMn as it is and closes it again: is it there, free or busy?
    OpenResult probe(int portNumber);
    void close();
    // The open line changes its speed only (a meter switched its baud rate);
    // false when the line is closed or refuses it.
    bool setBaudRate(qint32 baud);
    bool isOpen() const { return port_.isOpen(); }
    int openPortNumber() const { return openNumber_; }
    // The settings the open line was given, and whether it is a pseudo-terminal
    // (which carries bytes at once, whatever its speed).
    const SerialSettings& lineSettings() const { return settings_; }
    bool onPseudoTerminal() const { return onPseudoTerminal_; }

    qint64 bytesWaiting() const { return port_.isOpen() ? port_.bytesAvailable() : 0; }
    QByteArray readAll() { return port_.isOpen() ? port_.readAll() : QByteArray(); }
    // Takes in what the system holds for the port now, without waiting
    // (bytesReceived follows when there is any).
    void pollReceived();
    // One write of all bytes; false when the port is closed or refuses them.
    bool write(const QByteArray& bytes);

  signals:
    // Bytes arrived (the port's communication event for received data).
    void bytesReceived();
    // The device failed while open (unplugged adapter, vanished pty peer); the
    // port is already closed when this arrives. Emitted once per loss.
    void connectionLost(const QString& reason);

  private:
    OpenResult failure(const QString& device, const SerialSettings* settings);
    void onError(QSerialPort::SerialPortError error);

    PortMap map_;
    QSerialPort port_;
    int openNumber_ = 0;
    SerialSettings settings_;
    bool onPseudoTerminal_ = false;
    QString device_;  // the open port's device path, for messages
};
