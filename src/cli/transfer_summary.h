#pragma once

#include "cli_commands.h"

// Runs read or write (`run`); when services.reportDuration is set and it succeeded, ends with a
// line saying what was done and how long it took: "read 4 devices in 2.3 s".
ExitStatus timedTransfer(ExitStatus (*run)(const CliOptions &, const CommandServices &),
                         const CliOptions &options, const CommandServices &services);
