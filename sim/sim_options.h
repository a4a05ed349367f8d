#pragma once

#include "fault_plan.h"

#include <QString>
#include <QStringList>

#include <optional>

struct SimOptions {
    int model = 1;
    QString imagePath;        // starting EEPROM contents; empty: the factory image
    QString writeFactoryPath; // write the factory image here and exit
    QString statePath;        // EEPROM image rewritten after every change
    QString logPath;          // one line per command
    QString linkPath;         // symbolic link to the pty
    bool paced = false;       // 9600-baud timing both ways
    bool exitOnStdinEnd = false;
    // The line itself misbehaving.
    int vanishAfter = 0; // commands answered before the controller vanishes; 0: never
    bool noise = false;  // junk bytes on the line all the time, at line speed
    int trickleMs = 0;   // each answer byte this long after the one before; 0: at once
    // How a USB adapter hands the answers over: what crossed the line every burstGapMs, or at
    // once when burstBytes wait. 0: as they cross.
    int burstGapMs = 0;
    int burstBytes = 0;
    int answerDelayMicros = 0; // after the command's last byte, before the answer starts
    Faults::FaultPlan faults;
};

struct ParsedOptions {
    std::optional<SimOptions> options; // set when the arguments are good and no help was asked
    bool helpRequested = false;
    bool versionRequested = false;
    QString helpText;
    QString error; // set when the arguments are bad
};

// `arguments` as in main's argv, program name first.
ParsedOptions parseSimOptions(const QStringList &arguments);
