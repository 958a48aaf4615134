// A serial device (an adapter or a pty) as the transport of the serial
// service: opened with every setting given before it opens, closed at once
// when the device goes away.
#pragma once

#include <QSerialPort>

#include "port/LineTransport.h"
#include "port/OpenFailure.h"
#include "port/SerialSettings.h"

class SerialLine : public LineTransport {
    Q_OBJECT
  public:
    explicit SerialLine(QObject* parent = nullptr);
    ~SerialLine() override;

    OpenResult open(const QString& device, const SerialSettings& settings,
                    const QString& settingsText);
    // Opens the device as it is and closes it again: is it there, free or busy?
    OpenResult probe(const QString& device);
    bool onPseudoTerminal() const { return onPseudoTerminal_; }
    // The open device changes its speed only; false when closed or refused.
    bool setBaudRate(qint32 baud) { return port_.isOpen() && port_.setBaudRate(baud); }

    bool isOpen() const override { return port_.isOpen(); }
    void close() override;
    qint64 bytesWaiting() const override { return port_.isOpen() ? port_.bytesAvailable() : 0; }
    QByteArray readAll() override { return port_.isOpen() ? port_.readAll() : QByteArray(); }
    void pollReceived() override;
    bool write(const QByteArray& bytes) override;

  private:
    OpenResult failure(const QString& device, const SerialSettings* settings);
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    bool onPseudoTerminal_ = false;
    QString device_;  // the open port's device path, for messages
};
