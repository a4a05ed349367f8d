#pragma once

#include <QString>

#include <optional>

// A console server's network port as a port name: tcp://HOST:PORT (raw TCP) or
// rfc2217://HOST:PORT (Telnet COM Port Control), the scheme in any case.
struct NetworkPortAddress {
    QString host;
    quint16 port = 0;
    bool comPortControl = false;
};

struct ParsedNetworkPort {
    std::optional<NetworkPortAddress> address; // set when the name is a usable network port
    QString problem;                           // otherwise why not, without the name itself
};

// Whether `name` is meant as a network port (its scheme says so), usable or not.
bool isNetworkPortName(const QString &name);
// The address a network port name gives, or what is wrong with it. Credentials are refused: the
// connection has no login, and a password in a name would end up in messages and shell history.
ParsedNetworkPort parseNetworkPort(const QString &name);
// `name` fit for a message: a network port's user name and password are left out.
QString displayedPortName(const QString &name);
