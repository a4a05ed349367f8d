#include "image/file_checks.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>

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

bool keepModeOf(const QString &path, const std::function<bool()> &replace)
{
#ifdef Q_OS_UNIX
    struct stat before;
    const bool existed = ::stat(QFile::encodeName(path).constData(), &before) == 0;
    const bool replaced = replace();
    if (replaced && existed)
        ::chmod(QFile::encodeName(path).constData(), before.st_mode & 07777);
    return replaced;
#else
    return replace();
#endif
}
