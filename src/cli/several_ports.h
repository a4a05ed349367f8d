#pragma once

#include "cli_options.h"

#include <QString>

#include <optional>

// The ports a read or a write runs on at once, and the names that tell them apart.
namespace SeveralPorts
{

// In read's -o and write's --backup, stands for each port's short name, so that every switch gets a
// file of its own.
inline const char *const kPortPlaceholder = "{port}";

// "COM3" stays "COM3"; a device path gives its file name ("/dev/ttyUSB0": "ttyUSB0"), with its
// folder's name in front when it is a bare number ("/dev/pts/7": "pts7").
QString shortName(const QString &portArgument);
// `pattern` with the port's short name in place of {port}.
QString fileFor(const QString &pattern, const QString &portArgument);

// Checks the ports of a read or write: no device twice (by name, or where names lead: links
// followed), no two short names alike, and with several ports a read's -o (a write's --backup)
// holds {port} and gives each port a file of its own. With one port, {port} there is replaced at
// once. The usage error, or nothing.
std::optional<QString> settle(CliOptions &options);

} // namespace SeveralPorts
