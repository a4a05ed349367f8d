#include "link/port_catalogue.h"

#include "link/com_ports.h"

#include <QSerialPortInfo>

SerialDeviceCatalogue systemSerialDevices()
{
    return [] {
        std::vector<SerialDeviceInfo> devices;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
            SerialDeviceInfo device{info.portName(),     info.systemLocation(), info.description(),
                                    info.manufacturer(), info.serialNumber(),   std::nullopt,
                                    std::nullopt};
            if (info.hasVendorIdentifier())
                device.vendorId = info.vendorIdentifier();
            if (info.hasProductIdentifier())
                device.productId = info.productIdentifier();
            devices.push_back(device);
        }
        return devices;
    };
}

std::vector<PortChoice> portChoices(const std::vector<SerialDeviceInfo> &found)
{
    const auto listedAt = [&found](const QString &device) -> std::optional<SerialDeviceInfo> {
        for (const SerialDeviceInfo &info : found) {
            if (info.systemLocation == device)
                return info;
        }
        return std::nullopt;
    };
    std::vector<PortChoice> choices;
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        const QString variable = comPortVariable(port);
        const QString device = comPortDeviceName(port);
        choices.push_back({QStringLiteral("%1. COM%1").arg(port), device,
                           QStringLiteral("COM%1").arg(port),
                           qEnvironmentVariableIsEmpty(qPrintable(variable)) ? QString() : variable,
                           listedAt(device)});
    }
    for (const SerialDeviceInfo &device : found) {
        const bool listed = std::any_of(choices.begin(), choices.end(), [&](const PortChoice &c) {
            return c.device == device.systemLocation;
        });
        if (listed)
            continue;
        QString label = QStringLiteral("%1. %2").arg(choices.size() + 1).arg(device.portName);
        if (!device.description.isEmpty())
            label += QStringLiteral(" - ") + device.description;
        choices.push_back({label, device.systemLocation, device.portName, QString(), device});
    }
    return choices;
}
