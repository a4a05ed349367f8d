#include "pty_port.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

// No echo, no line editing, no CR/NL translation, 8 data bits: the bytes pass as they are.
bool makeRaw(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

PtyPort::~PtyPort()
{
    if (!linkPath_.isEmpty())
        QFile::remove(linkPath_);
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

bool PtyPort::open(QString &error)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = systemError("posix_openpt");
        return false;
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = systemError("grantpt/unlockpt");
        return false;
    }
    const char *name = ptsname(master_);
    if (name == nullptr) {
        error = systemError("ptsname");
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = systemError("open slave");
        return false;
    }
    if (!makeRaw(slave_)) {
        error = systemError("tcsetattr");
        return false;
    }
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = systemError("fcntl");
        return false;
    }
    return true;
}

void PtyPort::vanish()
{
    int lock = 1;
    ::ioctl(master_, TIOCSPTLCK, &lock);
    if (!linkPath_.isEmpty())
        QFile::remove(linkPath_);
}

bool PtyPort::makeLink(const QString &path, QString &error)
{
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        QFile::remove(path);
    } else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a link; not replacing it").arg(path);
        return false;
    }
    if (::symlink(slavePath_.toLocal8Bit().constData(), path.toLocal8Bit().constData()) != 0) {
        error = systemError("symlink");
        return false;
    }
    linkPath_ = path;
    return true;
}
