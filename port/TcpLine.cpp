#include "port/TcpLine.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

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
    const QMetaObject::Connection started = connect(&socket_, &QAbstractSocket::stateChanged, this,
                                                    [&](QAbstractSocket::SocketState s) {
                                                        if (s == QAbstractSocket::ConnectingState)
                                                            connectingAt = clock.nsecsElapsed();
                                                    });
    clock.start();
    socket_.connectToHost(address.host, address.port);
    waitUntilConnectedOrFailed(within);
    const bool connected = socket_.state() == QAbstractSocket::ConnectedState;
    const qint64 connectedAt = clock.nsecsElapsed();
    disconnect(started);
    if (!connected) {
        const bool stillTrying = socket_.state() != QAbstractSocket::UnconnectedState;
        const QAbstractSocket::SocketError error =
            stillTrying ? QAbstractSocket::SocketTimeoutError : socket_.error();
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

// Waits in an event loop rather than in waitForConnected(), which blocks the
// window (and does the name lookup with no limit at all). Only user input is
// held back: the window keeps painting, and nothing can be clicked meanwhile.
void TcpLine::waitUntilConnectedOrFailed(std::chrono::milliseconds within) {
    if (socket_.state() == QAbstractSocket::UnconnectedState) return;  // failed at once
    QEventLoop wait;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &wait, &QEventLoop::quit);
    connect(&socket_, &QTcpSocket::connected, &wait, &QEventLoop::quit);
    connect(&socket_, &QTcpSocket::errorOccurred, &wait, &QEventLoop::quit);
    limit.start(within);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
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
    // What the gateway sent before it closed is still the meter's: hand it on first.
    if (socket_.bytesAvailable() > 0) emit bytesReceived();
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
