#pragma once

#include <QTextStream>

// Several switches at once: Read and Write on 1, 2 and 4 paced simulators together, through
// swcfgctl's own runner (a thread, a line and a clock per port), against the wire time of one
// switch alone. False when a simulator could not be started or a port failed.
bool benchPorts(int model, int repeat, QTextStream &out);
