#pragma once

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// The settings of a terminal, as another program would find them.
inline QByteArray lineSettings(const QString &terminal)
{
    termios line{};
    const int fd = open(qPrintable(terminal), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    tcgetattr(fd, &line);
    close(fd);
    return QByteArray(reinterpret_cast<const char *>(&line), sizeof line);
}
