#pragma once

#include "link/serial_line.h"

class LinkClock;

// How the main window reaches the switch: the line of COM port n, and the clock its waits run on.
struct SwitchAccess {
    SerialLineFactory lines;
    LinkClock &clock;
};
