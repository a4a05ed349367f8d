#pragma once

#include "link/transports.h"

#include <QString>

#include <optional>

// A console server's network port as a port name: SCHEME://HOST:PORT, the scheme saying how the
// bytes cross (see transports.cpp).
struct NetworkPortAddress {
    QString host;
    quint16 port = 0;
};

struct ParsedNetworkPort {
    std::optional<NetworkPortAddress> address; // set when the name is a usable network port
    QString problem;                           // otherwise why not, without the name itself
};

// The address a network port name gives, or what is wrong with it. Credentials are refused: the
// connection has no login, and a password in a name would end up in messages and shell history.
ParsedNetworkPort parseNetworkPort(const QString &name);
// The same as a transport reads it: the place is the host (in lower case) and the port.
PortNameReading readNetworkPortName(const QString &name);
