#pragma once

#include "cli_options.h"
#include "link/link_progress.h"
#include "link/port_catalogue.h"
#include "link/serial_line.h"
#include "link/switch_session.h"

#include <functional>
#include <memory>

class LinkClock;
class SerialLine;

// How swcfgctl ends: its exit status.
enum class ExitStatus : int {
    Done = 0,
    Usage = 1,             // unknown command or option, a missing or bad argument
    FileProblem = 2,       // the file was unreadable or rejected, or the output not writable
    SwitchUnavailable = 3, // port, answer, presence or module check failed; nothing was changed
    TransferFailed = 4,    // an EEPROM read failed, or a device did not verify after writing
    Different = 5,         // diff: the files differ
    // read or write stopped by a signal: 128 + the signal's number, as a shell reports it.
    StoppedBySignal = 128,
};

ExitStatus exitStatusFor(SessionOutcome outcome);

// Standard output: what show and diff print.
using OutputSink = std::function<void(const QByteArray &text)>;
// Standard input, at most `limit` bytes: what "-" as a file or a document reads.
using InputSource = std::function<QByteArray(qint64 limit)>;

// What the commands talk through.
struct CommandServices {
    SerialLineFactory makeLine;
    LinkClock &clock;
    SessionMessageSink &messages; // the switch's and the files' messages
    ProgressCallback progress;
    OutputSink output;
    // The signal that asks read and write to stop (see StopSignals); 0, or no function: none.
    std::function<int()> stopSignal = {};
    // The serial devices the system reports: what ports lists, and the device a port named by
    // its name ("ttyUSB0") opens. No function: none.
    SerialDeviceCatalogue serialDevices = {};
    InputSource input = {};
    // read and write end with what was done and how long it took (standard error a terminal).
    bool reportDuration = false;
};

// Reads every device of the model and saves the image to options.filePath, atomically and only
// when every device was read.
ExitStatus runRead(const CliOptions &options, const CommandServices &services);
struct WriteTarget;
struct WriteReport;
// Loads and checks options.filePath for the model (or reads and checks the document
// options.configPath names), then writes it as writeSwitch does.
ExitStatus runWrite(const CliOptions &options, const CommandServices &services,
                    WriteReport &report);
// Makes the switch on options.device hold `target`: writes every word, or with changedOnly the
// words that differ from what it holds (saving that first to options.backupPath when given; with
// dryRun only counting them), verifies and resets. A changed-only write to a switch that holds
// the target already writes nothing, does not reset it, and says so.
ExitStatus writeSwitch(const CliOptions &options, const WriteTarget &target,
                       const CommandServices &services, WriteReport &report);
// Prints the configuration options.filePath holds, for a person or as its JSON document.
ExitStatus runShow(const CliOptions &options, const CommandServices &services);
// Lays the document options.configPath over options.inputPath (or the factory image), encodes it
// as the properties dialog's OK does and saves it to options.filePath; nothing is written when
// anything was refused.
ExitStatus runApply(const CliOptions &options, const CommandServices &services);
// Prints the settings, then the words, in which options.filePath and options.otherPath differ.
ExitStatus runDiff(const CliOptions &options, const CommandServices &services);
// Runs the command; read and write through a port named by its device name open the device the
// system lists for it.
ExitStatus runCommand(const CliOptions &options, const CommandServices &services);
