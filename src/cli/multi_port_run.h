#pragma once

#include "cli_commands.h"
#include "switch_write.h"

#include <QStringList>

#include <vector>

// How one port's read or write ended.
struct PortOutcome {
    QString port;   // as given
    QString device; // the device it names
    QString file;   // read: where the image was to go; write: the image written
    QString backup; // write --backup: where what the switch held was to go
    ExitStatus status = ExitStatus::Done;
    bool writes = false; // a write, whose report follows
    WriteReport write;
    qint64 wallMicros = 0;
    QStringList messages; // what the port's transfer said, in order
};

// Hears how the ports are doing, on the thread that started them, one call at a time and in
// the order each port said it.
class PortsObserver
{
public:
    virtual ~PortsObserver() = default;
    // A message of the port `port` (its index), with the reason behind it when there is one.
    virtual void message(int port, const QString &text, const QString &reason) = 0;
    virtual void progress(int port, const ProgressState &state) = 0;
    // Whether progress is wanted at all: nobody draws it on a log file.
    virtual bool wantsProgress() const = 0;
};

// Runs options.command (read or write) on every port of options.portArguments at the same time,
// each in a thread of its own with its own line, clock and copy of the image, and returns when
// all have ended. A port's failure ends that port alone. write: every switch is made to hold
// `target`; read: each port's image goes to the file -o names for it.
std::vector<PortOutcome> runPortsAtOnce(const CliOptions &options, const WriteTarget &target,
                                        const SerialLineFactory &makeLine, PortsObserver &observer);

// Whether swcfgctl runs this read or write through runOnPorts: several ports, or a summary asked
// for as JSON.
bool runsOnPorts(const CliOptions &options);
// swcfgctl read|write on several ports: the transfers at once, their messages and (on a
// terminal) a progress line per port on standard error, then a summary table there, and with
// --json the summary on standard output. The highest exit status of any port. `input` is
// standard input, for write --config -.
ExitStatus runOnPorts(const CliOptions &options, bool stderrIsTerminal,
                      const std::function<QByteArray(qint64 limit)> &input = {});
