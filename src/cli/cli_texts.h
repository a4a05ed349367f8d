#pragma once

#include <QString>

// What swcfgctl itself says: its help and its usage errors. Messages about the switch and the
// files are the system's own (LinkMessages, BinFile).
namespace CliTexts
{

inline const char *const kProgram = "swcfgctl";

QString mainHelp();
QString readHelp();
QString writeHelp();

QString noCommand();
QString unknownCommand(const QString &command);
QString commandFirst(const QString &option);
QString missingOption(const QString &option);
QString badModel(const QString &argument);
QString badPort(const QString &argument);
QString missingInputFile();
QString unexpectedArguments(const QString &arguments);
QString tryHelp(const QString &command); // empty command: the general help

} // namespace CliTexts
