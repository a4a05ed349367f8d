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
