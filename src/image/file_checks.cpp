#include "image/file_checks.h"

#include <QFileInfo>

std::optional<QString> notRegularFile(const QString &path)
{
    const QFileInfo info(path); // follows symbolic links
    if (!info.exists() || info.isFile())
        return std::nullopt;
    if (info.isDir())
        return QStringLiteral("it is a folder");
    return QStringLiteral("it is not a regular file");
}
