#pragma once

#include "image/bin_file.h"
#include "launcher/sim_process.h"
#include "link/qt_serial_line.h"
#include "support/files.h"
#include "support/main_window_harness.h"
#include "ui/main/port_list_box.h"

#include <QComboBox>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>

// A main window whose COM port leads to a simulated switch: the real serial port on the
// simulator's pseudo-terminal, found through SWCFG_COM<n> as on a real machine.
struct SwitchRig {
    SimProcess sim;
    MainWindowHarness h;
    int model = 1;
    QByteArray comVariable;

    ~SwitchRig() { qunsetenv(comVariable.constData()); }

    // Starts the simulator (`--model` is added) and selects the model and the COM port in the
    // window. False when the simulator did not come up.
    bool start(int simModel, const QStringList &simArguments = {}, int comPort = 1)
    {
        model = simModel;
        if (!sim.start(QStringList{"--model", QString::number(model)} + simArguments))
            return false;
        comVariable = "SWCFG_COM" + QByteArray::number(comPort);
        qputenv(comVariable.constData(), sim.linkPath().toLocal8Bit());
        h.window.modelList->setCurrentIndex(model);
        h.window.portList->refresh(); // as opening the list does
        h.window.portList->setCurrentIndex(comPort - 1);
        return true;
    }

    // Writes `image` as a file of the model in the simulator's folder; returns its path.
    QString writeFile(const QString &name, const ImageWords &image) const
    {
        const QString path = QDir(sim.folder()).filePath(name);
        putFile(path, BinFile::encode(image, model));
        return path;
    }

    // Opens `image` as a file of the model, as the user would.
    void open(const ImageWords &image)
    {
        h.files.paths.push_back(writeFile("opened.bin", image));
        h.window.openConfiguration();
    }

    // Returns once the switch has taken in everything sent to it so far (a probe of our own went
    // through after it), so the log is complete even for commands nothing answers, like the reset.
    bool settle()
    {
        const int probes = logCount("probe");
        QtSerialLine line(sim.linkPath());
        if (!line.open() || !line.send("ns"))
            return false;
        return SimProcess::waitFor([&] { return logCount("probe") > probes; });
    }

    // The log lines of one kind ("reset", "probe", "write", ...).
    int logCount(const QString &kind) const
    {
        int count = 0;
        for (const QString &line : sim.logLines())
            count += line.section(' ', 0, 0) == kind ? 1 : 0;
        return count;
    }

    // Whether the window is usable again: its commands and `button` enabled, no progress bar and
    // no Stop button.
    bool idleAfter(const QPushButton *button) const
    {
        return h.window.commandPanel->isEnabled() && button->isEnabled() &&
               h.window.progressBar->isHidden() && h.window.stopButton->isHidden();
    }
};
