#pragma once

#include "link/serial_line.h"

#include <QLatin1String>
#include <QString>

#include <memory>

// What a transport reads in a port name of its own.
struct PortNameReading {
    QString problem;     // why the name opens no port, without the name itself; empty when it does
    QString destination; // where it leads: two names of one port lead to the same place
};

// One way to reach a switch's serial line. A port name belongs to the transport whose scheme it
// starts with ("tcp://HOST:PORT", in any case), and to the serial devices when none claims it. A
// new transport is one row of the table in transports.cpp and its line class.
struct Transport {
    QLatin1String scheme; // empty for the serial devices, which are named by a path
    PortNameReading (*read)(const QString &name);
    // The line on the port `name` names, closed; its time is read from `clock`.
    std::unique_ptr<SerialLine> (*makeLine)(const QString &name, LinkClock &clock);
};

// The transport of `name`.
const Transport &transportFor(const QString &name);
// Whether `name` is a serial device's path (or a name of one under /dev), not a port reached by
// another transport: only such a name may be resolved, compared and locked as a file.
bool isDevicePath(const QString &name);
// `name` fit for a message: the user name and password of a port reached over a network are left
// out.
QString displayedPortName(const QString &name);
