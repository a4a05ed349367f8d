#pragma once

#include "cli_commands.h"

// Runs read or write; when services.reportDuration is set and it succeeded, ends with a line saying
// what was done and how long it took: "read 4 devices in 2.3 s". A write that did not restart the
// switch has said so already.
ExitStatus timedTransfer(const CliOptions &options, const CommandServices &services);
