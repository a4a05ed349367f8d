#include "link/com_ports.h"

#include "link/transports.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{

// The serial port takes a name without a folder as one under /dev; a path with a folder is meant
// from the current folder, so it is made absolute before the port sees it. A port of another
// transport is a name, not a path.
QString asDeviceName(const QString &name)
{
    if (!isDevicePath(name))
        return name;
    if (name.contains(QLatin1Char('/')) && QFileInfo(name).isRelative())
        return QDir::cleanPath(QFileInfo(name).absoluteFilePath());
    return name;
}

} // namespace

QString comPortVariable(int portNumber)
{
    return QStringLiteral("SWCFG_COM%1").arg(portNumber);
}

QString comPortDeviceName(int portNumber)
{
    const QString override = qEnvironmentVariable(qPrintable(comPortVariable(portNumber)));
    if (!override.isEmpty())
        return asDeviceName(override);
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

QString serialDeviceForArgument(const QString &argument, const std::vector<SerialDeviceInfo> &found)
{
    for (const SerialDeviceInfo &device : found) {
        if (device.portName == argument)
            return device.systemLocation;
    }
    static const QRegularExpression comName(QStringLiteral("^COM([1-8])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(argument);
    if (match.hasMatch())
        return comPortDeviceName(match.captured(1).toInt());
    return asDeviceName(argument);
}

bool isComNameOutOfRange(const QString &name)
{
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(name);
    if (!match.hasMatch())
        return false;
    const int number = match.captured(1).toInt();
    return number < kFirstComPort || number > kLastComPort;
}

PortEntry checkPortEntry(const QString &text, const std::vector<SerialDeviceInfo> &found)
{
    const QString name = text.trimmed();
    if (name.isEmpty())
        return {QString(), QStringLiteral("no port given")};
    if (!isDevicePath(name)) {
        const QString problem = transportFor(name).read(name).problem;
        if (!problem.isEmpty())
            return {QString(), problem};
        return {name, QString()};
    }
    if (isComNameOutOfRange(name))
        return {QString(), QStringLiteral("COM1 to COM8 or a device path")};
    return {serialDeviceForArgument(name, found), QString()};
}
