#include "port/PortMap.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

namespace {

// Natural order: "ttyUSB2" before "ttyUSB10".
bool naturalLess(const QString& a, const QString& b) {
    static const QRegularExpression tail(QStringLiteral("^(.*?)(\\d+)$"));
    const auto ma = tail.match(a);
    const auto mb = tail.match(b);
    if (ma.hasMatch() && mb.hasMatch() && ma.captured(1) == mb.captured(1)) {
        const qulonglong na = ma.captured(2).toULongLong();
        const qulonglong nb = mb.captured(2).toULongLong();
        if (na != nb) return na < nb;
    }
    return a < b;
}

bool isAdapter(const QString& device) {
    const QString name = device.section(QLatin1Char('/'), -1);
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

}  // namespace

PortMap PortMap::fromEnvironment() {
    if (qEnvironmentVariableIsSet("METERBENCH_PORTS"))
        return parse(qEnvironmentVariable("METERBENCH_PORTS"));
    return fromSystem(QSerialPortInfo::availablePorts());
}

PortMap PortMap::parse(const QString& text) {
    PortMap map;
    static const QRegularExpression entry(
        QStringLiteral("^\\s*COM(\\d{1,2})\\s*=\\s*(\\S.*?)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto m = entry.match(part);
        if (!m.hasMatch()) continue;
        const int n = m.captured(1).toInt();
        if (n >= 1) map.entries_[n] = m.captured(2);
    }
    return map;
}

PortMap PortMap::fromSystem(const QList<QSerialPortInfo>& ports) {
#ifdef Q_OS_WIN
    PortMap map;
    static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (const QSerialPortInfo& info : ports) {
        const auto m = com.match(info.portName());
        if (m.hasMatch()) map.entries_[m.captured(1).toInt()] = info.portName();
    }
    return map;
#else
    QStringList devices;
    for (const QSerialPortInfo& info : ports) devices << info.systemLocation();
    return numberDevices(devices);
#endif
}

PortMap PortMap::numberDevices(const QStringList& devicePaths) {
    QStringList sorted = devicePaths;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        const bool adapterA = isAdapter(a);
        const bool adapterB = isAdapter(b);
        if (adapterA != adapterB) return adapterA;
        return naturalLess(a, b);
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    PortMap map;
    int n = 1;
    for (const QString& device : sorted) map.entries_[n++] = device;
    return map;
}

QString PortMap::device(int portNumber) const {
    const auto it = entries_.find(portNumber);
    return it == entries_.end() ? QString() : it->second;
}

int portNumberFromText(const QString& portText) {
    const QString digits = portText.mid(3, 2).trimmed();
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok && n > 0 ? n : 0;
}
