#pragma once

#include "cli_options.h"
#include "link/link_progress.h"

#include <QByteArray>

#include <optional>

// Where a whole read or write stands. The link sweeps from 0 to 100 % through each device it reads,
// writes or verifies; a person watching wants one bar for the command, with the phase named:
// "[#######...] writing device 2 of 4, 40%".
class CommandProgress
{
public:
    // read (and write --dry-run): every device read; write: every device written, then verified;
    // write --changed-only: every device read, the words that differ written, every device
    // verified.
    explicit CommandProgress(const CliOptions &options);

    // The command's share done, 0..100, at the link's state `phase`; it never goes back. Nothing
    // for a state of no phase of the command.
    std::optional<int> percent(const ProgressState &phase);
    // The line to draw for `phase`: a bar and "writing device 2 of 4, 40%".
    std::optional<QByteArray> line(const ProgressState &phase);

private:
    struct Step {
        QString phase;
        double weight; // in the time one device takes to be read
    };
    std::vector<Step> steps_;
    int shown_ = 0;
};
