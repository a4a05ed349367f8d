#include "link/network_port_name.h"

#include <QUrl>

ParsedNetworkPort parseNetworkPort(const QString &name)
{
    const QUrl url(name, QUrl::StrictMode);
    // Asked of the text first: an invalid URL (a port of letters, say) says little of itself.
    const QString authority = name.section(QLatin1String("://"), 1).section(QLatin1Char('/'), 0, 0);
    if (authority.contains(QLatin1Char('@')))
        return {std::nullopt, QStringLiteral("a user name or password is not taken: the "
                                             "connection has no login")};
    if (!url.isValid() || url.port() < 1)
        return {std::nullopt, QStringLiteral("the port must be a number from 1 to 65535")};
    if (url.host().isEmpty())
        return {std::nullopt, QStringLiteral("no host before the port")};
    if ((!url.path().isEmpty() && url.path() != QLatin1String("/")) || url.hasQuery() ||
        url.hasFragment())
        return {std::nullopt, QStringLiteral("nothing may follow HOST:PORT")};
    return {NetworkPortAddress{url.host(), static_cast<quint16>(url.port())}, QString()};
}

PortNameReading readNetworkPortName(const QString &name)
{
    const ParsedNetworkPort parsed = parseNetworkPort(name);
    if (!parsed.address)
        return {parsed.problem, name};
    return {QString(), parsed.address->host.toLower() + QLatin1Char(':') +
                           QString::number(parsed.address->port)};
}
