#pragma once

#include "cli_commands.h"

// swcfgctl ports: COM1 to COM8 with the device each opens, then every serial device the system
// reports that none of them opens, with what the system says of it. One a line, the name first
// (the bash completion takes the first word), or as JSON.
ExitStatus runPorts(const CliOptions &options, const CommandServices &services);

// `options` with each port given by the name of a device `listed` ("ttyUSB0") opening that
// device's location; the list is asked once, and only when such a name is given. COM names and
// paths are left as they are.
CliOptions withListedDevices(CliOptions options, const SerialDeviceCatalogue &listed);
