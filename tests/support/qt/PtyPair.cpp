#include "tests/support/qt/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cerrno>

#include "tests/support/core/RawPty.h"

PtyPair::PtyPair() {
    const RawPty pty = openRawPty();
    m_master = pty.master;
    m_slave = pty.slave;
    m_device = QString::fromStdString(pty.path);
}

PtyPair::~PtyPair() {
    closeMaster();
}

void PtyPair::send(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno != EINTR) return;
        if (n > 0) done += n;
    }
}

QByteArray PtyPair::receive(int expected, int ms) {
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < expected && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
            char buf[512];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) got.append(buf, n);
        }
    }
    return got;
}

unsigned PtyPair::outputSpeed() const {
    termios t{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &t) != 0) return 0;
    return static_cast<unsigned>(::cfgetospeed(&t));
}

void PtyPair::closeMaster() {
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
    m_master = m_slave = -1;
}

void mapPorts(const QString& map) {
    qputenv("METERBENCH_PORTS", map.toLocal8Bit());
}
