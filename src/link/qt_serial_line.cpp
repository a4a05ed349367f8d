#include "link/qt_serial_line.h"

#include "link/queued_write.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <utility>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#endif

QtSerialLine::QtSerialLine(const QString &deviceName, QStringList lockFolders)
    : deviceName_(deviceName), lockFolders_(std::move(lockFolders))
{
    port_.setPortName(deviceName);
}

bool QtSerialLine::open()
{
    error_.clear();
    port_.clearError();
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // Another program's hold is honoured before the port's own locking could take it for stale.
    if (const QString held = PortLock::checkBeforeOpening(devicePath(), lockFolders_);
        !held.isEmpty()) {
        error_ = deviceName_ + QStringLiteral(": ") + held;
        return false;
    }
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = deviceName_ + QStringLiteral(": ") + port_.errorString();
        if (port_.error() == QSerialPort::PermissionError)
            error_ += permissionHint();
        return false;
    }
    return true;
}

QString QtSerialLine::devicePath() const
{
    const bool path = deviceName_.startsWith(QLatin1Char('/')) ||
                      deviceName_.startsWith(QLatin1String("./")) ||
                      deviceName_.startsWith(QLatin1String("../"));
    return path ? deviceName_ : QStringLiteral("/dev/") + deviceName_;
}

QString QtSerialLine::permissionHint() const
{
#ifdef Q_OS_UNIX
    // Serial devices belong to a group (dialout on Debian) whose members may open them.
    struct stat device;
    if (::stat(QFile::encodeName(devicePath()).constData(), &device) != 0)
        return QString();
    const struct group *owner = ::getgrgid(device.st_gid);
    if (!owner || device.st_gid == 0)
        return QString();
    const QString group = QString::fromLocal8Bit(owner->gr_name);
    return QStringLiteral("\nOnly members of the group '%1' may open it: sudo usermod -aG %1 "
                          "$USER, then log in again.")
        .arg(group);
#else
    return QString();
#endif
}

void QtSerialLine::close()
{
    if (port_.isOpen())
        port_.close();
}

bool QtSerialLine::isOpen() const
{
    // A device that went away (a USB adapter unplugged, a terminal whose other end closed) leaves
    // the port open but dead: reading it fails or finds its end, and its device node is gone.
    if (!port_.isOpen() || port_.error() == QSerialPort::ResourceError ||
        port_.error() == QSerialPort::ReadError)
        return false;
#ifdef Q_OS_WIN
    return true;
#else
    return QFileInfo::exists(devicePath());
#endif
}

QString QtSerialLine::errorText() const
{
    return error_;
}

bool QtSerialLine::send(const QByteArray &bytes)
{
    // A terminal whose other end went away may still take bytes, which then reach nobody.
    if (!isOpen() || !writeAndDrain(port_, bytes)) {
        error_ = port_.errorString();
        return false;
    }
    return true;
}

qint64 QtSerialLine::bytesAvailable()
{
    return port_.bytesAvailable();
}

QByteArray QtSerialLine::readAll()
{
    return port_.readAll();
}

void QtSerialLine::discardInput()
{
    // Drops the port's own buffer as well as the driver's.
    if (port_.isOpen())
        port_.clear(QSerialPort::Input);
}

void QtSerialLine::waitForInput(int maxMicros)
{
    QElapsedTimer timer;
    timer.start();
    if (port_.isOpen()) {
        const bool arrived = maxMicros >= 1000 ? port_.waitForReadyRead(maxMicros / 1000)
                                               : port_.waitForReadyRead(0);
        if (arrived)
            return;
    }
    // Nothing came, or the port failed at once: sleep out the rest rather than spin.
    const qint64 left = maxMicros - timer.nsecsElapsed() / 1000;
    if (left > 0)
        QThread::usleep(static_cast<unsigned long>(left));
}
