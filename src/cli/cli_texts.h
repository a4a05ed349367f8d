#pragma once

#include <QString>

// What swcfgctl itself says: its help, its usage errors and what it says about configuration
// documents. Messages about the switch and the *.bin files are the system's own (LinkMessages,
// BinFile).
namespace CliTexts
{

inline const char *const kProgram = "swcfgctl";

QString mainHelp();
QString readHelp();
QString writeHelp();
QString showHelp();
QString applyHelp();
QString diffHelp();
QString portsHelp();

QString noCommand();
QString unknownCommand(const QString &command);
QString commandFirst(const QString &option);
QString missingOption(const QString &option);
QString repeatedOption(const QString &name);
QString badModel(const QString &argument);
// `problem`: what is wrong with a network port; empty for a COM name out of range or no name.
QString badPort(const QString &argument, const QString &problem = QString());
QString unexpectedArguments(const QString &arguments);
QString tryHelp(const QString &command); // empty command: the general help
QString outputFailed(const QString &reason);
// read -o - or apply -o - with standard output a terminal.
QString imageToTerminal();
// "-" as an image to take in, with standard input a terminal.
QString imageFromTerminal();
// "-" given for two inputs.
QString standardInputTwice();
// How messages name "-" as a document.
QString standardInput();

// The last line of read and write on a terminal.
QString readDone(int devices, qint64 milliseconds);
QString writeDone(bool changedOnly, qint64 milliseconds);

// After a signal stopped read or write: "Stopped by SIGINT", then what the switch holds.
QString stoppedBy(const QString &signal);
QString readStopped(const QString &output);
QString writeStopped(int wordsSent, int wordsToSend);

QString documentUnreadable(const QString &path, const QString &reason);
QString documentTooLarge(const QString &path, qint64 limit);
QString documentNotJson(const QString &path, int line, int column, const QString &error);
QString documentNotObject(const QString &path);
QString documentRefused(const QString &path, const QString &field, const QString &reason);
// Why apply without --model refuses a document whose "model" names none.
QString documentWithoutModel();

// write --changed-only: an option that needs it; FILE.bin given with --config.
QString needsChangedOnly(const QString &option);
QString fileAndDocument(const QString &file);
// write --changed-only on a switch that holds `wanted` (FILE.bin, or the document) already.
QString alreadyHolds(const QString &wanted);
// write --changed-only --dry-run: how many words a write would change.
QString wouldWrite(const QString &wanted, int words);

} // namespace CliTexts
