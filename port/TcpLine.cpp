#include "port/TcpLine.h"

#include <QElapsedTimer>

TcpLine::TcpLine(QObject* parent) : LineTransport(parent) {
    connect(&socket_, &QTcpSocket::readyRead, this, &LineTransport::bytesReceived);
    // A reset comes as an error, an orderly end as an error and then
    // disconnected; either is the one loss.
    connect(&socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // A poll that found nothing reports a timeout; the connection is fine.
        if (e != QAbstractSocket::SocketTimeoutError) onDropped();
    });
    connect(&socket_, &QTcpSocket::disconnected, this, &TcpLine::onDropped);
}

TcpLine::~TcpLine() {
    close();
}

OpenResult TcpLine::open(const GatewayAddress& address, std::chrono::milliseconds within) {
    close();
    address_ = address.text();
    QElapsedTimer clock;
    qint64 connectingAt = 0;  // after the name lookup: the round trip alone
    const QMetaObject::Connection started = connect(
        &socket_, &QAbstractSocket::stateChanged, this, [&](QAbstractSocket::SocketState s) {
            if (s == QAbstractSocket::ConnectingState) connectingAt = clock.nsecsElapsed();
        });
    clock.start();
    socket_.connectToHost(address.host, address.port);
    const bool connected = socket_.waitForConnected(static_cast<int>(within.count()));
    const qint64 connectedAt = clock.nsecsElapsed();
    disconnect(started);
    if (!connected) {
        const QAbstractSocket::SocketError error = socket_.error();
        const QString detail = socket_.errorString();
        socket_.abort();
        return gatewayOpenFailure(error, address, within, detail);
    }
    roundTrip_ = std::chrono::microseconds((connectedAt - connectingAt) / 1000);
    // Requests are small and wanted at once: no waiting to fill a segment.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    open_ = true;
    return {OpenOutcome::Opened, address_};
}

void TcpLine::close() {
    open_ = false;  // before abort(), whose disconnected is no loss
    socket_.abort();
}

void TcpLine::pollReceived() {
    if (open_) socket_.waitForReadyRead(0);
}

bool TcpLine::write(const QByteArray& bytes) {
    if (!open_ || socket_.write(bytes) != bytes.size()) return false;
    socket_.flush();  // on its way now, not when the event loop next runs
    return true;
}

void TcpLine::onDropped() {
    if (!open_) return;
    open_ = false;
    const QString reason = QStringLiteral("%1: %2").arg(address_, socket_.errorString());
    // Announce after the socket has left its notifier callback, as a serial line does.
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            if (open_) return;  // connected again meanwhile: that line is not lost
            socket_.abort();
            emit lost(reason);
        },
        Qt::QueuedConnection);
}
