#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A serial device the system reports (a built-in port, a USB adapter, ...).
struct SerialDeviceInfo {
    QString portName = {};       // "ttyUSB0"
    QString systemLocation = {}; // "/dev/ttyUSB0": what a line opens
    QString description = {};    // "FT232R USB UART"
    QString manufacturer = {};
    QString serialNumber = {};
    std::optional<quint16> vendorId = {}; // USB vendor and product
    std::optional<quint16> productId = {};
};

// Asked each time the list of devices is wanted, so that an adapter plugged in later is found.
using SerialDeviceCatalogue = std::function<std::vector<SerialDeviceInfo>()>;
// The devices QSerialPortInfo finds.
SerialDeviceCatalogue systemSerialDevices();

// One entry of the port list: what the user sees and the device it opens.
struct PortChoice {
    QString label;                              // "1. COM1", "9. ttyUSB0 - FT232R USB UART"
    QString device;                             // "/dev/ttyS0", "/dev/ttyUSB0"
    QString name;                               // "COM1", "ttyUSB0"
    QString overrideVariable = {};              // "SWCFG_COM1" when it names the device
    std::optional<SerialDeviceInfo> found = {}; // what the system says of the device, if listed
};

// "1. COM1" to "8. COM8", each opening its device (SWCFG_COM<n> included), then every device of
// `found` that none of them opens already, numbered on.
std::vector<PortChoice> portChoices(const std::vector<SerialDeviceInfo> &found);
