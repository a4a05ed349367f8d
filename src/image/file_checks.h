#pragma once

#include <QString>

#include <functional>
#include <optional>

// What a path names, before a file there is opened or replaced. Only regular files (or symbolic
// links to them) are configuration files: opening a FIFO or a device would block or read
// forever, and replacing one with a file would break what it was.
// The reason a path that exists is not a regular file; nothing for a regular file or no file.
std::optional<QString> notRegularFile(const QString &path);

// Runs `replace`, which puts a new file at `path`, and gives back its result; when it succeeds,
// the file keeps every permission bit the one it replaced had (set-user-ID and sticky bits too).
bool keepModeOf(const QString &path, const std::function<bool()> &replace);
