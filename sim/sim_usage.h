#pragma once

// What swcfg-sim --help says before the options: its job and the faults it can play.
extern const char kSimDescription[];
