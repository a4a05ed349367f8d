#include "port_list.h"

#include "command_files.h"

#include <QFileInfo>

namespace PortList
{

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
            if (options.devices.at(i) == options.devices.at(j))
                return QStringLiteral("port '%1' given twice").arg(ports.at(i));
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
    return std::nullopt;
}

} // namespace PortList
