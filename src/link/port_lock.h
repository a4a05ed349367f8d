#pragma once

#include <QString>
#include <QStringList>

// Serial ports are shared by a convention older than this program: whoever opens one leaves a
// lock file LCK..<device> in the system's lock folder holding its process number (ten characters
// and a newline as terminal programs write it; a bare number, or the number in binary, in older
// ones). The serial port's own locking takes such a lock for its age or its form to be stale and
// removes it, so the lock is read here first: a live process's lock keeps the port closed, and
// a lock whose process has ended is removed so that the port can be taken.
namespace PortLock
{

// Where terminal programs put their locks.
QStringList systemLockFolders();

// The lock file names another program may have given the device at `devicePath`: the device's
// own name (below /dev, a '/' written '_': "pts/3" is "LCK..pts_3"), and the name it was given
// by, when that is a link.
QStringList lockFileNames(const QString &devicePath);

// Reads every lock of the device in `folders`. Empty when the port may be opened (a lock of an
// ended process was removed on the way); otherwise why not.
QString checkBeforeOpening(const QString &devicePath, const QStringList &folders);

} // namespace PortLock

namespace PortLockTexts
{
// "in use by another program (process 812, lock file /run/lock/LCK..ttyUSB0)"
QString inUse(qint64 pid, const QString &lockPath);
// "lock file PATH cannot be read: REASON"
QString unreadable(const QString &lockPath, const QString &reason);
// "lock file PATH names no process: remove it if no program uses the port"
QString namesNoProcess(const QString &lockPath);
// "lock file PATH of process N, which has ended, cannot be removed: REASON"
QString cannotRemove(const QString &lockPath, qint64 pid, const QString &reason);
} // namespace PortLockTexts
