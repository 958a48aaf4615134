// A real pseudo-terminal for the serial tests: the test plays the far end on
// the master side; the window opens the slave device through METERBENCH_PORTS.
#pragma once

#include <QByteArray>
#include <QString>

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_master >= 0; }
    const QString& device() const { return m_device; }
    // Bytes sent by the far end (arrive at the window).
    void send(const QByteArray& bytes);
    // Bytes the window wrote, collected for up to `ms` milliseconds.
    QByteArray receive(int expected, int ms = 1000);
    // Baud rate the device is set to now (termios speed constant, e.g. B2400).
    unsigned outputSpeed() const;
    // The far end goes away (like an unplugged adapter).
    void closeMaster();

  private:
    int m_master = -1;
    int m_slave = -1;  // kept open until the master closes, so the device stays
    QString m_device;
};

// Sets METERBENCH_PORTS, e.g. {"COM1=/dev/pts/3"}.
void mapPorts(const QString& map);
