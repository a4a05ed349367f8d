#pragma once

#include "launcher/ser2net_process.h"

#include <QTextStream>

#include <optional>

// Several switches at once: Read and Write on 1, 2 and 4 paced simulators together, through
// swcfgctl's own runner (a thread, a line and a clock per port), against the wire time of one
// switch alone; with `via`, each simulator behind a ser2net of its own. False when a simulator
// or a server could not be started or a port failed.
bool benchPorts(int model, int repeat, std::optional<Ser2netProcess::Mode> via, QTextStream &out);
