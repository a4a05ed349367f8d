#include "link/transports.h"

#include "link/network_port_name.h"
#include "link/network_serial_line.h"
#include "link/qt_serial_line.h"

#include <array>

namespace
{

// A device's place depends on the file system: those who compare places resolve the path.
PortNameReading readDevicePath(const QString &name)
{
    return {QString(), name};
}

std::unique_ptr<SerialLine> deviceLine(const QString &name, LinkClock &)
{
    return std::make_unique<QtSerialLine>(name);
}

std::unique_ptr<SerialLine> rawTcpLine(const QString &name, LinkClock &clock)
{
    return std::make_unique<NetworkSerialLine>(name, NetworkProtocol::RawTcp, clock);
}

std::unique_ptr<SerialLine> comPortControlLine(const QString &name, LinkClock &clock)
{
    return std::make_unique<NetworkSerialLine>(name, NetworkProtocol::ComPortControl, clock);
}

const std::array<Transport, 3> kTransports{{
    {QLatin1String(), readDevicePath, deviceLine},
    {QLatin1String("tcp"), readNetworkPortName, rawTcpLine},
    {QLatin1String("rfc2217"), readNetworkPortName, comPortControlLine},
}};

} // namespace

const Transport &transportFor(const QString &name)
{
    for (const Transport &transport : kTransports) {
        if (!transport.scheme.isEmpty() &&
            name.startsWith(transport.scheme + QLatin1String("://"), Qt::CaseInsensitive))
            return transport;
    }
    return kTransports.front();
}

bool isDevicePath(const QString &name)
{
    return transportFor(name).scheme.isEmpty();
}

QString displayedPortName(const QString &name)
{
    if (isDevicePath(name))
        return name;
    const int start = static_cast<int>(name.indexOf(QLatin1String("://"))) + 3;
    const int slash = static_cast<int>(name.indexOf(QLatin1Char('/'), start));
    const int at = static_cast<int>(name.lastIndexOf(QLatin1Char('@'), slash < 0 ? -1 : slash));
    if (at < start)
        return name;
    return name.left(start) + QStringLiteral("...") + name.mid(at);
}
