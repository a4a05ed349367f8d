#pragma once

#include "link/serial_line.h"

#include <QString>

#include <memory>

// The line that `deviceName` names, closed: a console server's network port, or a serial device
// (a COM port, a USB adapter, a pseudo-terminal).
std::unique_ptr<SerialLine> makeSerialLine(const QString &deviceName, LinkClock &clock);

// Lines on real devices and on console servers' network ports.
SerialLineFactory deviceLineFactory();
