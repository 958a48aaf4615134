// A network gateway named where a serial device would be: "tcp://HOST:PORT"
// (a name, an IPv4 address or a bracketed IPv6 address, and a port 1..65535).
// The bytes go over a raw TCP connection as they are; the line's settings are
// the gateway's own.
#pragma once

#include <QString>
#include <optional>

struct GatewayAddress {
    QString host;
    quint16 port = 0;
    QString text() const;  // "tcp://HOST:PORT" as the user writes it
};

// Whether the text is meant as a gateway (starts with "tcp://", any case),
// whether or not the rest is valid.
bool isGatewayText(const QString& text);

// The address, or nullopt with `why` set when the text is not a valid
// tcp://HOST:PORT (no host, no port, a port out of range, a path or a user).
std::optional<GatewayAddress> parseGatewayAddress(const QString& text, QString* why = nullptr);
