#include "link/port_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QString PortLockTexts::inUse(qint64 pid, const QString &lockPath)
{
    return QStringLiteral("in use by another program (process %1, lock file %2)")
        .arg(pid)
        .arg(lockPath);
}

QString PortLockTexts::unreadable(const QString &lockPath, const QString &reason)
{
    return QStringLiteral("lock file %1 cannot be read: %2").arg(lockPath, reason);
}

QString PortLockTexts::namesNoProcess(const QString &lockPath)
{
    return QStringLiteral("lock file %1 names no process: remove it if no program uses the port")
        .arg(lockPath);
}

QString PortLockTexts::cannotRemove(const QString &lockPath, qint64 pid, const QString &reason)
{
    return QStringLiteral("lock file %1 of process %2, which has ended, cannot be removed: %3")
        .arg(lockPath)
        .arg(pid)
        .arg(reason);
}

QStringList PortLock::systemLockFolders()
{
    return {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
}

QStringList PortLock::lockFileNames(const QString &devicePath)
{
    static const QString devices = QStringLiteral("/dev/");
    QStringList names;
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    if (!canonical.isEmpty()) {
        QString name = canonical.startsWith(devices) ? canonical.mid(devices.size())
                                                     : QFileInfo(canonical).fileName();
        names << QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
    }
    const QString given = QStringLiteral("LCK..") + QFileInfo(devicePath).fileName();
    if (!names.contains(given))
        names << given;
    return names;
}

#ifdef Q_OS_UNIX

namespace
{

// A lock holds a process number and perhaps a name or two: anything longer is not a lock.
constexpr qsizetype kLongestLock = 128;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

bool isDecimal(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// The process number a lock holds: as text on its first line, blanks around it; or, in a file of
// exactly its size, as a binary number.
std::optional<qint64> lockedBy(const QByteArray &contents)
{
    const qsizetype lineEnd = contents.indexOf('\n');
    const QByteArray firstLine = (lineEnd < 0 ? contents : contents.left(lineEnd)).trimmed();
    qint64 pid = 0;
    if (isDecimal(firstLine)) {
        pid = firstLine.toLongLong();
    } else if (contents.size() == static_cast<qsizetype>(sizeof(pid_t))) {
        pid_t binary = 0;
        std::memcpy(&binary, contents.constData(), sizeof binary);
        pid = binary;
    }
    if (pid <= 0 || pid > INT_MAX)
        return std::nullopt;
    return pid;
}

bool processLives(qint64 pid)
{
    // Another user's process cannot be signalled, but it lives.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Reads the lock at `path`, by its descriptor; a lock of an ended process is removed unless it
// was replaced meanwhile (then the new one is read).
QString checkLock(const QString &path, bool again = true)
{
    const QByteArray native = QFile::encodeName(path);
    // Never follow a link, nor wait on a pipe someone put in the lock's place.
    const Descriptor lock(
        ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (lock.fd() < 0)
        return errno == ENOENT ? QString() : PortLockTexts::unreadable(path, systemError());
    struct stat opened = {};
    if (::fstat(lock.fd(), &opened) != 0)
        return PortLockTexts::unreadable(path, systemError());
    if (!S_ISREG(opened.st_mode))
        return PortLockTexts::unreadable(path, QStringLiteral("not a regular file"));
    char buffer[kLongestLock + 1];
    ssize_t got = 0;
    do {
        got = ::read(lock.fd(), buffer, sizeof buffer);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return PortLockTexts::unreadable(path, systemError());
    const std::optional<qint64> pid =
        got > kLongestLock ? std::nullopt : lockedBy(QByteArray(buffer, got));
    if (!pid)
        return PortLockTexts::namesNoProcess(path);
    if (processLives(*pid))
        return PortLockTexts::inUse(*pid, path);

    struct stat now = {};
    if (::lstat(native.constData(), &now) != 0)
        return QString(); // gone already
    if (now.st_dev != opened.st_dev || now.st_ino != opened.st_ino)
        return again ? checkLock(path, false) : PortLockTexts::inUse(*pid, path);
    if (::unlink(native.constData()) != 0 && errno != ENOENT)
        return PortLockTexts::cannotRemove(path, *pid, systemError());
    return QString();
}

} // namespace

QString PortLock::checkBeforeOpening(const QString &devicePath, const QStringList &folders)
{
    QStringList seen;
    for (const QString &folder : folders) {
        // /var/lock is often /run/lock under another name.
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || seen.contains(canonical))
            continue;
        seen << canonical;
        for (const QString &name : lockFileNames(devicePath)) {
            const QString held = checkLock(QDir(folder).filePath(name));
            if (!held.isEmpty())
                return held;
        }
    }
    return QString();
}

#else

QString PortLock::checkBeforeOpening(const QString &, const QStringList &)
{
    return QString();
}

#endif
