#include "several_ports.h"

#include "command_files.h"
#include "link/transports.h"

#include <QFileInfo>

namespace SeveralPorts
{

namespace
{

// Where a path leads: symbolic links followed and "." and ".." resolved as far as the path
// exists, the rest as written. A device name without a folder is one under /dev, as the serial
// port takes it.
QString resolvedPath(const QString &name)
{
    const QFileInfo info(name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name);
    const QString whole = info.canonicalFilePath();
    if (!whole.isEmpty())
        return whole;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

// Where a port leads: a device's resolved path, or the place its transport names (a network
// port's host and port).
QString portDestination(const QString &device)
{
    return isDevicePath(device) ? resolvedPath(device)
                                : transportFor(device).read(device).destination;
}

} // namespace

QString shortName(const QString &portArgument)
{
    const QFileInfo path(portArgument);
    const QString name = path.fileName();
    bool number = false;
    name.toInt(&number);
    if (number)
        return QFileInfo(path.path()).fileName() + name;
    return name;
}

QString fileFor(const QString &pattern, const QString &portArgument)
{
    return QString(pattern).replace(QLatin1String(kPortPlaceholder), shortName(portArgument));
}

std::optional<QString> settle(CliOptions &options)
{
    const QStringList &ports = options.portArguments;
    for (int i = 0; i < ports.size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (ports.at(i) == ports.at(j))
                return QStringLiteral("port '%1' given twice").arg(ports.at(i));
            // A link and its target, or COM3 and the device it names, are one switch.
            const QString device = portDestination(options.devices.at(i));
            if (device == portDestination(options.devices.at(j)))
                return QStringLiteral("ports '%1' and '%2' are the same device, %3")
                    .arg(ports.at(j), ports.at(i), device);
            if (shortName(ports.at(i)) == shortName(ports.at(j)))
                return QStringLiteral("ports '%1' and '%2' have the same short name '%3'; name "
                                      "them so that they differ")
                    .arg(ports.at(j), ports.at(i), shortName(ports.at(i)));
        }
    }
    // The file each port saves: read's image, or what a write found on the switch.
    const bool reads = options.command == CliCommand::Read;
    QString &perPort = reads ? options.filePath : options.backupPath;
    if (perPort.isEmpty())
        return std::nullopt;
    const QString option = reads ? QStringLiteral("-o") : QStringLiteral("--backup");
    if (!reads && CommandFiles::isStandardStream(perPort))
        return QStringLiteral("--backup - : a backup goes to a file, not to standard output");
    if (options.json && CommandFiles::isStandardStream(perPort))
        return QStringLiteral("-o - and --json would both write to standard output: save the "
                              "image to a file");
    const bool pattern = perPort.contains(QLatin1String(kPortPlaceholder));
    if (ports.size() > 1 && !pattern)
        return QStringLiteral("%1 %2 would hold every port's image: name the files with %3, as "
                              "in %1 switch-%3.bin")
            .arg(option, perPort, QLatin1String(kPortPlaceholder));
    if (ports.size() == 1)
        perPort = fileFor(perPort, ports.first());
    for (int i = 0; i < ports.size(); ++i) {
        const QString file = resolvedPath(fileFor(perPort, ports.at(i)));
        for (int j = 0; j < i; ++j) {
            if (file == resolvedPath(fileFor(perPort, ports.at(j))))
                return QStringLiteral("%1 %2 gives ports '%3' and '%4' the same file, %5: each "
                                      "port needs a file of its own")
                    .arg(option, perPort, ports.at(j), ports.at(i), file);
        }
    }
    return std::nullopt;
}

} // namespace SeveralPorts
