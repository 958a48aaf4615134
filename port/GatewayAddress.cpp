#include "port/GatewayAddress.h"

#include <QUrl>

QString GatewayAddress::text() const {
    const QString shown = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']')
                                                           : host;
    return QStringLiteral("tcp://%1:%2").arg(shown).arg(port);
}

bool isGatewayText(const QString& text) {
    return text.trimmed().startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
}

std::optional<GatewayAddress> parseGatewayAddress(const QString& text, QString* why) {
    const auto refuse = [why](const char* reason) -> std::optional<GatewayAddress> {
        if (why) *why = QLatin1String(reason);
        return std::nullopt;
    };
    if (!isGatewayText(text)) return refuse("does not start with tcp://");
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid()) return refuse("is not a valid address (expected tcp://HOST:PORT)");
    if (url.host().isEmpty()) return refuse("has no host (expected tcp://HOST:PORT)");
    // QUrl takes "tcp://h:0" and "tcp://h:" without complaint; a gateway needs a port.
    if (url.port() < 1) return refuse("has no port 1-65535 (expected tcp://HOST:PORT)");
    if (!url.userInfo().isEmpty() || !(url.path().isEmpty() || url.path() == QLatin1String("/")) ||
        url.hasQuery() || url.hasFragment())
        return refuse("has more than a host and a port (expected tcp://HOST:PORT)");
    return GatewayAddress{url.host(), static_cast<quint16>(url.port())};
}
