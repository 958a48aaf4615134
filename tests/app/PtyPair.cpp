#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cerrno>

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    // Raw on both ends so bytes pass unchanged.
    termios t{};
    if (::tcgetattr(m_slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(m_slave, TCSANOW, &t);
    }
    m_device = QString::fromLocal8Bit(name);
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

void PtyPair::closeMaster() {
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
    m_master = m_slave = -1;
}

void mapPorts(const QString& map) {
    qputenv("METERBENCH_PORTS", map.toLocal8Bit());
}
