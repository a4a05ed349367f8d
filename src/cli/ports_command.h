#pragma once

#include "cli_commands.h"

// swcfgctl ports: COM1 to COM8 with the device each opens, then every serial device the system
// reports that none of them opens, with what the system says of it. One a line, the name first
// (the bash completion takes the first word), or as JSON.
ExitStatus runPorts(const CliOptions &options, const CommandServices &services);

// `options` with its port, when given by the name of a device the system lists ("ttyUSB0"),
// opening that device's location. COM names and paths are left as they are.
CliOptions withListedDevice(CliOptions options, const CommandServices &services);
