#include "link/network_port_name.h"

#include <QUrl>

namespace
{

const QLatin1String kRawScheme("tcp");
const QLatin1String kComPortControlScheme("rfc2217");

} // namespace

bool isNetworkPortName(const QString &name)
{
    return name.startsWith(kRawScheme + QLatin1String("://"), Qt::CaseInsensitive) ||
           name.startsWith(kComPortControlScheme + QLatin1String("://"), Qt::CaseInsensitive);
}

ParsedNetworkPort parseNetworkPort(const QString &name)
{
    if (!isNetworkPortName(name))
        return {std::nullopt, QStringLiteral("not a network port (tcp://HOST:PORT or "
                                             "rfc2217://HOST:PORT)")};
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
    const bool comPortControl =
        url.scheme().compare(kComPortControlScheme, Qt::CaseInsensitive) == 0;
    return {NetworkPortAddress{url.host(), static_cast<quint16>(url.port()), comPortControl},
            QString()};
}

QString displayedPortName(const QString &name)
{
    if (!isNetworkPortName(name))
        return name;
    const int start = static_cast<int>(name.indexOf(QLatin1String("://"))) + 3;
    const int slash = static_cast<int>(name.indexOf(QLatin1Char('/'), start));
    const int at = static_cast<int>(name.lastIndexOf(QLatin1Char('@'), slash < 0 ? -1 : slash));
    if (at < start)
        return name;
    return name.left(start) + QStringLiteral("...") + name.mid(at);
}
