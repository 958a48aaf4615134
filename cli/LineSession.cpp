#include "cli/LineSession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

#include "port/PortMap.h"

namespace mb::cli {

QString resolvePort(const QString& port) {
    const int number = portNumberFromText(port);
    if (number > 0 && port.trimmed().startsWith(QStringLiteral("COM"), Qt::CaseInsensitive))
        return PortMap::fromEnvironment().device(number);
    return port;
}

LineSession::LineSession() : runner_(port_) {
    QObject::connect(&port_, &SerialPortService::bytesReceived, &runner_, [this] {
        if (!listening_) runner_.receive(port_.readAll());
    });
    // A late answer to the previous request, come before the next one went out.
    QObject::connect(&runner_, &ExchangeRunner::finished, &runner_, [this](const ExchangeResult& r) {
        if (r.late && !runner_.running()) lateAnswer_ = r;
    });
    QObject::connect(&port_, &SerialPortService::connectionLost, &runner_,
                     [this](const QString& reason) {
                         lostReason_ = reason.toStdString();
                         runner_.abandon(reason);
                     });
}

bool LineSession::open(const QString& port, const QString& settings, std::string& error) {
    const QString device = resolvePort(port);
    if (device.isEmpty()) {
        error = "no device is mapped to " + port.toStdString();
        return false;
    }
    const OpenResult opened = port_.openDevice(device, settings);
    if (opened.outcome != OpenOutcome::Opened) {
        error = opened.reason.toStdString();
        return false;
    }
    lostReason_.clear();
    return true;
}

ExchangeResult LineSession::exchange(ExchangeRequest request,
                                     const ExchangeRunner::Options& options) {
    lateAnswer_.reset();
    port_.pollReceived();  // what came since the last request is judged as its late answer
    ExchangeResult result;
    result.request = request;
    QEventLoop loop;
    bool done = false;
    const QMetaObject::Connection finished = QObject::connect(
        &runner_, &ExchangeRunner::finished, &loop, [&](const ExchangeResult& r) {
            if (done || r.superseded) return;
            result = r;
            done = true;
            loop.quit();
        });
    if (!runner_.start(request, options)) {
        result.verdict = Verdict::NotSent;
        result.reason = port_.isOpen()          ? "the line did not take the request"
                        : lostReason_.empty() ? "the port is closed"
                                              : "the line was lost: " + lostReason_;
        done = true;
    }
    if (!done) loop.exec();
    QObject::disconnect(finished);
    return result;
}

const std::string& LineSession::lostReason() {
    for (int i = 0; i < 10 && lostReason_.empty() && !port_.isOpen(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return lostReason_;
}

Bytes LineSession::listen(int ms) {
    listening_ = true;
    Bytes bytes;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    const auto take = [&] {
        const QByteArray chunk = port_.readAll();
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
        if (!bytes.empty()) loop.quit();
    };
    const QMetaObject::Connection arrived =
        QObject::connect(&port_, &SerialPortService::bytesReceived, &loop, take);
    take();
    if (bytes.empty() && port_.isOpen()) loop.exec();
    QObject::disconnect(arrived);
    listening_ = false;
    return bytes;
}

double LineSession::bitMicros() const {
    return 1e6 / std::max(1, static_cast<int>(port_.lineSettings().baudRate));
}

double LineSession::byteMicros() const {
    const SerialSettings& s = port_.lineSettings();
    const int bits = 1 + s.dataBits + (s.parity == QSerialPort::NoParity ? 0 : 1) +
                     (s.stopBits == QSerialPort::OneStop ? 1 : 2);
    return bits * bitMicros();
}

int LineSession::bytesMs(std::size_t count) const {
    return static_cast<int>(std::ceil(static_cast<double>(count) * byteMicros() / 1000.0));
}

}  // namespace mb::cli
