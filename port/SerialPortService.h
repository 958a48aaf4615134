// The line of the main window and the command line: opens a numbered port
// through the port map, or a device path, with a settings text; reports
// received bytes, writes byte arrays, and closes itself at once when the line
// goes away. A port is a serial device (SerialLine) or a network gateway
// written tcp://HOST:PORT (TcpLine, raw TCP: the gateway's own port has the
// line settings, which are still checked and kept for the timing of bytes).
#pragma once

#include <QByteArray>
#include <QObject>
#include <chrono>

#include "port/OpenFailure.h"
#include "port/PortMap.h"
#include "port/SerialLine.h"
#include "port/SerialSettings.h"
#include "port/TcpLine.h"

class SerialPortService : public QObject {
    Q_OBJECT
  public:
    // The wait for a gateway's connection, its host's name lookup included.
    static constexpr std::chrono::milliseconds kConnectWithin{3000};

    explicit SerialPortService(QObject* parent = nullptr);
    ~SerialPortService() override;

    void setPortMap(PortMap map) { map_ = std::move(map); }
    const PortMap& portMap() const { return map_; }

    // Opens COMn with the settings text ("2400,E,8,1"); every setting is given
    // to the port before it opens (on a pty, parity and data bits only as far as
    // it keeps them). On failure the port is closed and the result says why.
    OpenResult open(int portNumber, const QString& settingsText);
    // The same for a device path ("/dev/ttyUSB0") or a gateway
    // ("tcp://192.0.2.10:10001"), outside the port map.
    OpenResult openDevice(const QString& device, const QString& settingsText);
    // Opens COMn as it is and closes it again: is it there, free or busy? A
    // gateway is not tried: it counts as there, and Connect says if it is not.
    OpenResult probe(int portNumber);
    void close();
    // The open line changes its speed only (a meter switched its baud rate);
    // false when the line is closed or refuses it. A gateway's line speed is
    // the gateway's own: it refuses.
    bool setBaudRate(qint32 baud);
    bool isOpen() const { return line_ && line_->isOpen(); }
    int openPortNumber() const { return openNumber_; }
    // The settings the open line was given, and whether it is a pseudo-terminal
    // (which carries bytes at once, whatever its speed).
    const SerialSettings& lineSettings() const { return settings_; }
    bool onPseudoTerminal() const { return line_ == &serial_ && serial_.onPseudoTerminal(); }
    // Whether the open line is a gateway's TCP connection (its bytes leave at
    // once, as on a pty), and the round trip measured when it connected.
    bool overNetwork() const { return line_ == &tcp_; }
    std::chrono::microseconds networkRoundTrip() const {
        return overNetwork() ? tcp_.roundTrip() : std::chrono::microseconds{0};
    }

    qint64 bytesWaiting() const { return line_ ? line_->bytesWaiting() : 0; }
    QByteArray readAll() { return line_ ? line_->readAll() : QByteArray(); }
    // Takes in what the system holds for the port now, without waiting
    // (bytesReceived follows when there is any).
    void pollReceived();
    // One write of all bytes; false when the port is closed or refuses them.
    bool write(const QByteArray& bytes);

  signals:
    // Bytes arrived (the port's communication event for received data).
    void bytesReceived();
    // The line failed while open (unplugged adapter, vanished pty peer, a
    // gateway's connection closed or reset); the port is already closed when
    // this arrives. Emitted once per loss.
    void connectionLost(const QString& reason);

  private:
    PortMap map_;
    SerialLine serial_;
    TcpLine tcp_;
    LineTransport* line_ = nullptr;  // the one opened last, or none
    int openNumber_ = 0;
    SerialSettings settings_;
};
