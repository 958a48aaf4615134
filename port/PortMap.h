// Which device stands behind each port number COM1, COM2, ...
// METERBENCH_PORTS ("COM1=/dev/pts/3,COM7=/dev/ttyUSB0,COM3=tcp://192.0.2.10:10001")
// is the whole map when set; otherwise the system's serial ports are numbered
// from COM1. A network gateway is mapped only through METERBENCH_PORTS.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <map>

class QSerialPortInfo;

class PortMap {
  public:
    // METERBENCH_PORTS when set (even when it names nothing usable), else the system's ports.
    static PortMap fromEnvironment();
    // Parses "COM1=/dev/pts/3,COM7=/dev/ttyUSB0"; an entry that does not parse
    // (also a tcp:// address without host or port) is skipped and named in problems().
    static PortMap parse(const QString& text);
    // Numbers the given ports: on Windows COMn keeps n; elsewhere USB and ACM
    // adapters first, then the others, each group in natural order of device name.
    static PortMap fromSystem(const QList<QSerialPortInfo>& ports);
    // The numbering rule of fromSystem on bare device paths (testable without hardware).
    static PortMap numberDevices(const QStringList& devicePaths);

    // Device path of COMn, empty when the map has no such port.
    QString device(int portNumber) const;
    const std::map<int, QString>& entries() const { return entries_; }
    // The port numbers, ascending.
    QList<int> numbers() const;
    void set(int portNumber, const QString& device) { entries_[portNumber] = device; }
    // One line per entry of the parsed text that was skipped, saying why.
    const QStringList& problems() const { return problems_; }

  private:
    std::map<int, QString> entries_;
    QStringList problems_;
};

// "COM7" -> 7, "COM12" -> 12, "COM3 Occupy" -> 3: the number at characters 4
// and 5 of the port text, surrounding blanks ignored; 0 when there is none.
// Digits that go on past character 5 belong to the number ("COM100" -> 100).
int portNumberFromText(const QString& portText);
