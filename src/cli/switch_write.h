#pragma once

#include "cli_commands.h"

#include <QJsonObject>
#include <QString>

#include <optional>

// What a write makes a switch hold: FILE.bin, checked before any port is touched, or (write
// --config) a document whose form was checked then, laid over what each switch holds once it was
// read.
struct WriteTarget {
    QString name; // how messages name it: the file, or the document
    ImageWords image{};
    std::optional<QJsonObject> document;
};

// How one switch's write went, for the summary.
struct WriteReport {
    int wordsWritten = 0;
    bool restarted = false; // the reset was sent
    bool backedUp = false;  // what the switch held was saved to the backup file
    // --changed-only, once the switch was read: the words in which it differed from the target.
    std::optional<int> wordsDiffering;
};

// A changed-only write's step between reading the switch and writing it (see
// SwitchSession::writeChanges): saves what the switch held to options.backupPath, sets the image
// to write (the document laid over what the switch held), counts the words that differ, and says
// whether to write; when not, heldBack() says how the command ends.
class ChangePlan
{
public:
    ChangePlan(const CliOptions &options, const WriteTarget &target,
               const CommandServices &services, ImageState &state, WriteReport &report);
    bool operator()(const ImageWords &onSwitch);
    std::optional<ExitStatus> heldBack() const { return heldBack_; }

private:
    bool holdBack(ExitStatus status);

    const CliOptions &options_;
    const WriteTarget &target_;
    const CommandServices &services_;
    ImageState &state_;
    WriteReport &report_;
    std::optional<ExitStatus> heldBack_;
};

// options.filePath loaded and checked for the model, or the document options.configPath names
// read and its form checked; a refusal is reported through services.messages.
std::optional<WriteTarget> loadWriteTarget(const CliOptions &options,
                                           const CommandServices &services);
