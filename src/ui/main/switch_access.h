#pragma once

#include "link/port_catalogue.h"
#include "link/serial_line.h"

class LinkClock;

// How the main window reaches the switch: the line on a device, the clock its waits run on, and
// the serial devices the port list offers besides COM1 to COM8.
struct SwitchAccess {
    SerialLineFactory lines;
    LinkClock &clock;
    SerialDeviceCatalogue devices = {};
};
