#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What swcfgctl was asked to do, parsed from its arguments.
enum class CliCommand { Read, Write, Show, Apply, Diff, Ports };

struct CliOptions {
    CliCommand command = CliCommand::Read;
    int model = 0; // 0..2, as in the main window's model list
    // show, diff: no --model, the file's model word names it; apply: the document's model does
    bool modelFromFile = false;
    // read, write: every port given (--port repeated, or "P1,P2"), each with its device; several
    // run at once. `device` is the first one's.
    QString device;
    QStringList portArguments;
    QStringList devices;
    // read, apply: where to save ("-": standard output); write: what to send; show: what to show;
    // diff: the first file (these three: "-" is standard input)
    QString filePath;
    QString otherPath; // diff: the second file
    QString inputPath; // apply: the image to start from; empty for the model's factory image
    // apply: the configuration document ("-": standard input); write: the same, laid over what
    // the switch holds, in place of filePath
    QString configPath;
    bool json = false; // show, diff, ports: print JSON; read, write: the ports' summary as JSON
    // write: only the words the switch does not hold already
    bool changedOnly = false;
    // write --changed-only: where to save what the switch held, before any word is written
    QString backupPath;
    // write --changed-only: read and compare only; nothing is written and the switch not reset
    bool dryRun = false;
};

struct ParsedCommandLine {
    std::optional<CliOptions> options; // set when the arguments are good and no help was asked
    bool helpRequested = false;
    bool versionRequested = false;
    QString helpText; // what --help prints
    QString error;    // why the arguments are bad
    QString hint;     // where to look then ("Try 'swcfgctl read --help'.")
};

// `arguments` as in main's argv, program name first.
ParsedCommandLine parseCommandLine(const QStringList &arguments);
