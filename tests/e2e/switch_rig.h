#pragma once

#include "support/main_window_harness.h"
#include "launcher/sim_process.h"

#include <QStringList>

// A main window whose COM port leads to a simulated switch: the real serial port on the
// simulator's pseudo-terminal, found through SWCFG_COM<n> as on a real machine.
class SwitchRig
{
public:
    ~SwitchRig();

    // Starts the simulator (`--model` is added) and selects the model and the COM port in the
    // window. False when the simulator did not come up.
    bool start(int model, const QStringList &simArguments = {}, int comPort = 1);
    // Opens `image` as a file of the model, as the user would.
    void open(const ImageWords &image);

    // Returns once the switch has taken in everything sent to it so far (a probe of our own went
    // through after it), so the log is complete even for commands nothing answers, like the reset.
    bool settle();
    // The log lines of one kind ("reset", "probe", "write", ...).
    int logCount(const QString &kind) const;
    // Whether the window is usable again: enabled, `button` enabled, no progress bar.
    bool idleAfter(const QPushButton *button) const;

    SimProcess sim;
    MainWindowHarness h;
    int model = 1;

private:
    QByteArray comVariable_;
    QString fileFolder_;
};
