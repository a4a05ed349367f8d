#pragma once

#include "launcher/ser2net_process.h"
#include "launcher/sim_process.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// A simulated switch answering at line speed (swcfg-sim --pace), behind a ser2net of its own when
// asked. Both are stopped when it goes, the server first.
class PacedSwitch
{
public:
    // Starts the simulator of `model` (with `answers`: options that shape its answers), then
    // with `via` the server in front of it. False, after saying why on stderr, when either did
    // not start.
    bool start(int model, std::optional<Ser2netProcess::Mode> via, const QStringList &answers = {});
    // What the benchmark opens: the server's network port, or else the simulator's terminal.
    QString portName() const;

private:
    SimProcess sim_;
    std::unique_ptr<Ser2netProcess> server_;
};
