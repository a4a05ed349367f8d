#pragma once

#include "image/image_state.h"

#include <QFile>
#include <QString>

// What the simulator leaves behind for whoever watches it: the command log and the EEPROM state
// file. Either may be switched off by giving no path.
class SessionRecords
{
public:
    SessionRecords(QString logPath, QString statePath, int model);

    // Creates the log (emptied) and writes the starting state.
    bool open(const ImageWords &eeprom, QString &error);

    // One line, flushed at once so a reader never sees half of it.
    void log(const QString &line);
    // Rewrites the state file; a failure is reported on stderr once and otherwise ignored, so a
    // full disk does not stop the line.
    void saveState(const ImageWords &eeprom);

private:
    QString logPath_;
    QString statePath_;
    int model_;
    QFile log_;
    bool stateFailureReported_ = false;
};
