#include "port/SerialSettings.h"

#include <QStringList>

namespace {

std::optional<QSerialPort::Parity> parityFromLetter(const QString& s) {
    if (s.size() != 1) return std::nullopt;
    switch (s.at(0).toUpper().unicode()) {
        case 'N':
            return QSerialPort::NoParity;
        case 'O':
            return QSerialPort::OddParity;
        case 'E':
            return QSerialPort::EvenParity;
        case 'M':
            return QSerialPort::MarkParity;
        case 'S':
            return QSerialPort::SpaceParity;
        default:
            return std::nullopt;
    }
}

std::optional<QSerialPort::DataBits> dataBitsFrom(const QString& s) {
    if (s == QLatin1String("6")) return QSerialPort::Data6;
    if (s == QLatin1String("7")) return QSerialPort::Data7;
    if (s == QLatin1String("8")) return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> stopBitsFrom(const QString& s) {
    if (s == QLatin1String("1")) return QSerialPort::OneStop;
    if (s == QLatin1String("1.5")) return QSerialPort::OneAndHalfStop;
    if (s == QLatin1String("2")) return QSerialPort::TwoStop;
    return std::nullopt;
}

QString parityName(QSerialPort::Parity parity) {
    switch (parity) {
        case QSerialPort::NoParity:
            return QStringLiteral("NONE");
        case QSerialPort::OddParity:
            return QStringLiteral("ODD");
        case QSerialPort::EvenParity:
            return QStringLiteral("EVEN");
        case QSerialPort::MarkParity:
            return QStringLiteral("MARK");
        case QSerialPort::SpaceParity:
            return QStringLiteral("SPACE");
    }
    return QString();
}

QString stopBitsName(QSerialPort::StopBits stopBits) {
    switch (stopBits) {
        case QSerialPort::OneStop:
            return QStringLiteral("1");
        case QSerialPort::OneAndHalfStop:
            return QStringLiteral("1.5");
        case QSerialPort::TwoStop:
            return QStringLiteral("2");
    }
    return QString();
}

}  // namespace

std::optional<SerialSettings> parseSerialSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return std::nullopt;
    const QString baudText = parts[0].trimmed();
    bool ok = !baudText.isEmpty();
    for (QChar c : baudText) ok = ok && c.isDigit() && c.unicode() < 128;
    const qint64 baud = ok ? baudText.toLongLong(&ok) : 0;
    if (!ok || baud <= 0 || baud > 4000000) return std::nullopt;
    const auto parity = parityFromLetter(parts[1].trimmed());
    const auto data = dataBitsFrom(parts[2].trimmed());
    const auto stop = stopBitsFrom(parts[3].trimmed());
    if (!parity || !data || !stop) return std::nullopt;
    return SerialSettings{static_cast<qint32>(baud), *parity, *data, *stop};
}

bool applyBeforeOpen(QSerialPort& port, const SerialSettings& settings) {
    return port.setBaudRate(settings.baudRate) && port.setParity(settings.parity) &&
           port.setDataBits(settings.dataBits) && port.setStopBits(settings.stopBits) &&
           port.setFlowControl(QSerialPort::NoFlowControl);
}

QString firstRefusedSetting(const QString& device, const SerialSettings& settings) {
    QSerialPort port(device);
    if (!port.open(QIODevice::ReadWrite)) return QString();
    if (!port.setBaudRate(settings.baudRate))
        return QStringLiteral("baud rate %1").arg(settings.baudRate);
    if (!port.setParity(settings.parity))
        return QStringLiteral("parity %1").arg(parityName(settings.parity));
    if (!port.setDataBits(settings.dataBits))
        return QStringLiteral("data bits %1").arg(int(settings.dataBits));
    if (!port.setStopBits(settings.stopBits))
        return QStringLiteral("stop bits %1").arg(stopBitsName(settings.stopBits));
    return QString();
}
