#pragma once

#include <QString>

#include <optional>

// What a path names, before a file there is opened or replaced. Only regular files (or symbolic
// links to them) are configuration files: opening a FIFO or a device would block or read
// forever, and replacing one with a file would break what it was.
// The reason a path that exists is not a regular file; nothing for a regular file or no file.
std::optional<QString> notRegularFile(const QString &path);

// Gives the new file open at `descriptor`, about to replace the file at `path`, that file's read,
// write and execute bits, and its owner and group as far as the saver may give them (as an editor
// or install does). Set-user-ID, set-group-ID and sticky bits are never carried over: a saved file
// hands out no privilege. Only the descriptor is changed, before the new file is put in place, so
// a symbolic link swapped in at `path` meanwhile changes nothing. No file at `path`: nothing.
void takeOverAttributes(int descriptor, const QString &path);
