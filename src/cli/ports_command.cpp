#include "ports_command.h"

#include "config_document.h"
#include "link/com_ports.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

namespace
{

QString hexId(quint16 id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

// One port as JSON: what is known of it, nothing that is not.
QJsonObject portEntry(const QString &name, const QString &device, const QString &override,
                      const SerialDeviceInfo *info)
{
    QJsonObject entry{{QStringLiteral("name"), name}, {QStringLiteral("device"), device}};
    if (!override.isEmpty())
        entry.insert(QStringLiteral("override"), override);
    if (!info)
        return entry;
    const std::pair<const char *, QString> texts[] = {{"description", info->description},
                                                      {"manufacturer", info->manufacturer},
                                                      {"serial_number", info->serialNumber}};
    for (const auto &[key, text] : texts) {
        if (!text.isEmpty())
            entry.insert(QLatin1String(key), text);
    }
    if (info->vendorId)
        entry.insert(QStringLiteral("vendor_id"), hexId(*info->vendorId));
    if (info->productId)
        entry.insert(QStringLiteral("product_id"), hexId(*info->productId));
    return entry;
}

// "ttyUSB0  /dev/ttyUSB0  FT232R USB UART  FTDI  A1B2C3  0403:6001"
QByteArray portLine(const QJsonObject &entry)
{
    const auto text = [&entry](const char *key) {
        return entry.value(QLatin1String(key)).toString();
    };
    QString device = text("device");
    if (entry.contains(QLatin1String("override")))
        device += QStringLiteral(" (%1)").arg(text("override"));
    QStringList columns{text("name"), device};
    for (const char *key : {"description", "manufacturer", "serial_number"}) {
        if (entry.contains(QLatin1String(key)))
            columns << text(key);
    }
    if (entry.contains(QLatin1String("vendor_id")))
        columns << text("vendor_id") + QLatin1Char(':') + text("product_id");
    return columns.join(QStringLiteral("  ")).toLocal8Bit() + '\n';
}

std::vector<SerialDeviceInfo> devicesFound(const CommandServices &services)
{
    return services.serialDevices ? services.serialDevices() : std::vector<SerialDeviceInfo>{};
}

} // namespace

ExitStatus runPorts(const CliOptions &options, const CommandServices &services)
{
    const std::vector<SerialDeviceInfo> found = devicesFound(services);
    const std::vector<PortChoice> choices = portChoices(found);
    QJsonArray entries;
    QByteArray lines;
    for (const PortChoice &choice : choices) {
        const QJsonObject entry = portEntry(choice.name, choice.device, choice.overrideVariable,
                                            choice.found ? &*choice.found : nullptr);
        entries.append(entry);
        lines += portLine(entry);
    }
    services.output(options.json
                        ? ConfigDocument::toText(QJsonObject{{QStringLiteral("ports"), entries}})
                        : lines);
    return ExitStatus::Done;
}

CliOptions withListedDevices(CliOptions options, const SerialDeviceCatalogue &listed)
{
    static const QRegularExpression comName(QStringLiteral("^COM\\d+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    std::optional<std::vector<SerialDeviceInfo>> found;
    for (int i = 0; i < options.portArguments.size(); ++i) {
        const QString &argument = options.portArguments.at(i);
        if (!listed || argument.isEmpty() || argument.contains(QLatin1Char('/')) ||
            comName.match(argument).hasMatch())
            continue;
        if (!found)
            found = listed();
        options.devices[i] = serialDeviceForArgument(argument, *found);
    }
    if (!options.devices.isEmpty())
        options.device = options.devices.first();
    return options;
}
