#include "cli/LineSession.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

#include "port/PortMap.h"
#include "port/SerialSettings.h"

namespace mb::cli {

QString resolvePort(const QString& port) {
    const int number = portNumberFromText(port);
    if (number > 0 && port.trimmed().startsWith(QStringLiteral("COM"), Qt::CaseInsensitive))
        return PortMap::fromEnvironment().device(number);
    return port;
}

bool LineSession::open(const QString& port, const SerialSettings& settings, std::string& error) {
    const QString device = resolvePort(port);
    if (device.isEmpty()) {
        error = "no device is mapped to " + port.toStdString();
        return false;
    }
    port_.setPortName(device);
    if (!applyBeforeOpen(port_, settings)) {
        error = "the port refuses the settings";
        return false;
    }
    if (!port_.open(QIODevice::ReadWrite)) {
        error = "cannot open " + device.toStdString() + ": " + port_.errorString().toStdString();
        return false;
    }
    const int bits = 1 + settings.dataBits + (settings.parity == QSerialPort::NoParity ? 0 : 1) +
                     (settings.stopBits == QSerialPort::OneStop ? 1 : 2);
    bitMicros_ = 1e6 / settings.baudRate;
    byteMicros_ = bits * bitMicros_;
    return true;
}

int LineSession::bytesMs(std::size_t count) const {
    return static_cast<int>(std::ceil(count * byteMicros_ / 1000.0));
}

Reply judgeReply(const Bytes& received, const Bytes& request, FrameKind kind, bool& complete) {
    complete = false;
    std::size_t echo = 0;
    while (echo < received.size() && echo < request.size() && received[echo] == request[echo]) ++echo;
    if (echo < request.size() && echo == received.size() && echo > 0) return {};  // echo still coming
    if (echo < request.size()) echo = 0;  // not our echo after all

    Reply reply;
    reply.bytes.assign(received.begin() + static_cast<std::ptrdiff_t>(echo), received.end());
    const auto& b = reply.bytes;
    bool pending = false;
    for (std::size_t at = 0; at < b.size();) {
        if (b[at] == 0xFE && kind != FrameKind::Mbus) {  // wake-up bytes before a CJ/T 188 frame
            ++at;
            continue;
        }
        const FrameMatch match = matchFrameAt(b, at, kind);
        if (match.state == FrameMatch::Complete) {
            reply.frames.emplace_back(b.begin() + static_cast<std::ptrdiff_t>(at),
                                      b.begin() + static_cast<std::ptrdiff_t>(at + match.length));
            at += match.length;
        } else if (match.state == FrameMatch::Incomplete) {
            pending = true;
            break;
        } else {
            reply.garbage = true;
            ++at;
        }
    }
    complete = !reply.frames.empty() && !pending;
    return reply;
}

Reply LineSession::exchange(const Bytes& request, FrameKind kind, Timing timing) {
    // A late answer to the last request is no answer to this one; keep it apart.
    Bytes late;
    if (port_.waitForReadyRead(0) || port_.bytesAvailable() > 0) {
        const QByteArray chunk = port_.readAll();
        late.assign(chunk.begin(), chunk.end());
    }
    port_.write(reinterpret_cast<const char*>(request.data()), static_cast<qint64>(request.size()));
    port_.waitForBytesWritten(1000);
    // The kernel takes the request at once; the line needs its bytes' time to carry it.
    const int sendMs = bytesMs(request.size());
    const int quietMs = std::max(20, bytesMs(3));  // a second answer right after the first is a collision
    QElapsedTimer clock;
    clock.start();
    Bytes received;
    Reply reply;
    qint64 deadline = sendMs + timing.firstByteMs;
    qint64 quietUntil = -1;
    for (;;) {
        const qint64 until = quietUntil >= 0 ? std::min(quietUntil, deadline) : deadline;
        const qint64 left = until - clock.elapsed();
        if (left <= 0) break;
        if (!port_.waitForReadyRead(static_cast<int>(left))) continue;
        const QByteArray chunk = port_.readAll();
        received.insert(received.end(), chunk.begin(), chunk.end());
        bool complete = false;
        reply = judgeReply(received, request, kind, complete);
        if (!reply.bytes.empty()) deadline = sendMs + timing.totalMs;
        quietUntil = complete ? clock.elapsed() + quietMs : -1;
    }
    reply.late = std::move(late);
    return reply;
}

Bytes LineSession::listen(int ms) {
    Bytes bytes;
    if (port_.bytesAvailable() > 0 || port_.waitForReadyRead(ms)) {
        const QByteArray chunk = port_.readAll();
        bytes.assign(chunk.begin(), chunk.end());
    }
    return bytes;
}

}  // namespace mb::cli
