#pragma once

#include "image/image_state.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>

// Ends `process` with SIGTERM (SIGKILL if it will not go) and waits; nothing when it is not
// running.
void stopProcess(QProcess &process);

// Runs swcfg-sim for a test or the benchmark, in a temporary folder of its own with a state file,
// a command log and a link to its pseudo-terminal. The destructor stops it and removes the folder.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts the simulator with `arguments` (--model, faults, --pace, ...) and waits until it
    // has named its pseudo-terminal. False, with errorString() saying why, when it did not.
    bool start(const QStringList &arguments = {}, int timeoutMs = 10000);
    // Ends it with SIGTERM (SIGKILL if it will not go) and waits. Safe to call twice.
    void stop();
    bool isRunning() const;
    // Exit code once stopped; -1 when it crashed or never ran.
    int exitCode() const;

    QString ptyPath() const { return ptyPath_; } // the slave device, e.g. /dev/pts/7
    QString linkPath() const;                    // the symbolic link to it in the folder
    QString statePath() const;
    QString logPath() const;
    QString folder() const { return dir_.path(); }
    QString errorString() const { return error_; }

    // The EEPROM words as the simulator last saved them (3 or 4 devices, by the file's size);
    // nothing when the file is missing or not a whole number of devices.
    std::optional<ImageWords> stateImage() const;
    QStringList logLines() const;

    // Polls `condition` until it holds or `timeoutMs` passed; true when it held.
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs = 10000);
    // Waits until the log has at least `count` lines.
    bool waitForLogLines(int count, int timeoutMs = 10000) const;

    static QString binaryPath();

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString ptyPath_;
    QString error_;
};
