#pragma once

#include "link/line_factory.h"
#include "link/port_catalogue.h"

#include <QString>

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 8;

// The environment variable that may name COM port n's device: SWCFG_COM<n>.
QString comPortVariable(int portNumber);
// The device that COM port n (1..8) opens: the environment variable SWCFG_COM<n> when it is set,
// otherwise COMn on Windows and /dev/ttyS<n-1> elsewhere.
QString comPortDeviceName(int portNumber);

// A port given on the command line: "COM1".."COM8" (any case) as above, the name of a device
// `found` lists ("ttyUSB0") as its location, a console server's network port (tcp://HOST:PORT,
// rfc2217://HOST:PORT) as it is, anything else as a device path.
QString serialDeviceForArgument(const QString &argument,
                                const std::vector<SerialDeviceInfo> &found = {});

// "COM9", "com0" and the like: a name of the port list's kind but outside it, a typing error
// rather than a device path.
bool isComNameOutOfRange(const QString &name);

// A port the user typed: the device it opens, or why it opens none.
struct PortEntry {
    QString device;  // set when the entry names a port
    QString problem; // otherwise why not, without the entry itself
};
// "COM1".."COM8" (any case), a name `found` lists, a console server's network port or a device
// path, checked as the command line checks --port: COM9 and the like are typing errors, and a
// network port must be usable (no credentials, HOST:PORT and nothing after).
PortEntry checkPortEntry(const QString &text, const std::vector<SerialDeviceInfo> &found);
