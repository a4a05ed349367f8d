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
    if (options.command != CliCommand::Read)
        return std::nullopt;
    if (options.json && CommandFiles::isStandardStream(options.filePath))
        return QStringLiteral("-o - and --json would both write to standard output: save the "
                              "image to a file");
    const bool pattern = options.filePath.contains(QLatin1String(kPortPlaceholder));
    if (ports.size() > 1 && !pattern)
        return QStringLiteral("-o %1 would hold every port's image: name the files with %2, as "
                              "in -o switch-%2.bin")
            .arg(options.filePath, QLatin1String(kPortPlaceholder));
    if (ports.size() == 1)
        options.filePath = fileFor(options.filePath, ports.first());
    return std::nullopt;
}

} // namespace PortList
