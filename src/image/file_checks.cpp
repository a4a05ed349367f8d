#include "image/file_checks.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

std::optional<QString> notRegularFile(const QString &path)
{
#ifdef Q_OS_UNIX
    // A loop of symbolic links names no file: replacing it would put a file where a link was,
    // though reading it is refused.
    struct stat target;
    if (::stat(QFile::encodeName(path).constData(), &target) != 0 && errno == ELOOP)
        return QString::fromLocal8Bit(std::strerror(ELOOP));
#endif
    const QFileInfo info(path); // follows symbolic links
    if (!info.exists() || info.isFile())
        return std::nullopt;
    if (info.isDir())
        return QStringLiteral("it is a folder");
    return QStringLiteral("it is not a regular file");
}

void takeOverAttributes(int descriptor, const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat before;
    if (descriptor < 0 || ::stat(QFile::encodeName(path).constData(), &before) != 0)
        return;
    // Giving a file away needs privilege; the group alone may still be one of the saver's.
    if (::fchown(descriptor, before.st_uid, before.st_gid) != 0 &&
        ::fchown(descriptor, uid_t(-1), before.st_gid) != 0) {
        // The saver's own owner and group stay.
    }
    ::fchmod(descriptor, before.st_mode & 0777);
#else
    Q_UNUSED(descriptor);
    Q_UNUSED(path);
#endif
}
