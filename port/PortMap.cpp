#include "port/PortMap.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

#include "port/GatewayAddress.h"

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
    static const QRegularExpression name(QStringLiteral("^COM(\\d{1,6})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& raw : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString part = raw.trimmed();
        if (part.isEmpty()) continue;
        const auto problem = [&](const QString& why) {
            map.problems_ << QStringLiteral("METERBENCH_PORTS entry \"%1\" %2").arg(part, why);
        };
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) {
            problem(QStringLiteral("has no '=' (expected COMn=device)"));
            continue;
        }
        const QString portName = part.left(eq).trimmed();
        const QString device = part.mid(eq + 1).trimmed();
        if (portName.isEmpty()) {
            problem(QStringLiteral("has no port name before '='"));
            continue;
        }
        if (device.isEmpty()) {
            problem(QStringLiteral("has no device path after '='"));
            continue;
        }
        const auto m = name.match(portName);
        const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (n < 1) {
            problem(QStringLiteral("does not name a port COMn (n from 1)"));
            continue;
        }
        QString why;
        if (isGatewayText(device) && !parseGatewayAddress(device, &why)) {
            problem(why);
            continue;
        }
        map.entries_[n] = device;
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

QList<int> PortMap::numbers() const {
    QList<int> list;
    for (const auto& entry : entries_) list << entry.first;
    return list;
}

int portNumberFromText(const QString& portText) {
    QString digits = portText.mid(3, 2).trimmed();
    if (digits.size() == 2)
        for (qsizetype i = 5; i < portText.size() && portText.at(i).isDigit(); ++i)
            digits += portText.at(i);
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok && n > 0 ? n : 0;
}
