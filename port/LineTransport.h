// What carries the bytes of an open line under SerialPortService: a serial
// device (SerialLine) or a gateway's raw TCP connection (TcpLine). The service
// opens one of them and hands everything else through; a transport reports a
// loss once, already closed.
#pragma once

#include <QByteArray>
#include <QObject>

class LineTransport : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    virtual qint64 bytesWaiting() const = 0;
    virtual QByteArray readAll() = 0;
    // Takes in what the system holds now, without waiting.
    virtual void pollReceived() = 0;
    // One write of all bytes, on their way at once; false when refused.
    virtual bool write(const QByteArray& bytes) = 0;

  signals:
    void bytesReceived();
    // The line failed while open; it is closed when this arrives.
    void lost(const QString& reason);
};
