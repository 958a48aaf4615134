// A network gateway's raw TCP connection as the transport of the serial
// service: the bytes pass as they are (the gateway's own port has the line
// settings), the connection is made within a bounded wait and its round trip
// is measured, and a connection the peer ends is a lost line.
#pragma once

#include <QTcpSocket>
#include <chrono>

#include "port/GatewayAddress.h"
#include "port/LineTransport.h"
#include "port/OpenFailure.h"

class TcpLine : public LineTransport {
    Q_OBJECT
  public:
    explicit TcpLine(QObject* parent = nullptr);
    ~TcpLine() override;

    // Connects within `within` (the host's name lookup included). On failure
    // nothing stays open and the result says why.
    OpenResult open(const GatewayAddress& address, std::chrono::milliseconds within);
    // The time the connection took to be made once the address was known: one
    // round trip to the gateway (SYN, SYN-ACK).
    std::chrono::microseconds roundTrip() const { return roundTrip_; }

    bool isOpen() const override { return open_; }
    void close() override;
    qint64 bytesWaiting() const override { return open_ ? socket_.bytesAvailable() : 0; }
    QByteArray readAll() override { return open_ ? socket_.readAll() : QByteArray(); }
    void pollReceived() override;
    bool write(const QByteArray& bytes) override;

  private:
    void waitUntilConnectedOrFailed(std::chrono::milliseconds within);
    void onDropped();

    QTcpSocket socket_;
    bool open_ = false;  // connected and not yet lost or closed
    QString address_;    // "tcp://HOST:PORT", for messages
    std::chrono::microseconds roundTrip_{0};
};
