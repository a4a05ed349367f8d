#pragma once

#include "link/port_lock.h"
#include "link/serial_line.h"

#include <QSerialPort>

// The serial line on a real device (a COM port, a USB adapter, a pseudo-terminal).
class QtSerialLine : public SerialLine
{
public:
    // `lockFolders`: where other programs' locks of the port are looked for before it is opened.
    explicit QtSerialLine(const QString &deviceName,
                          QStringList lockFolders = PortLock::systemLockFolders());

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorText() const override;
    bool send(const QByteArray &bytes) override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    void discardInput() override;
    void waitForInput(int maxMicros) override;

private:
    // Where the device is: a name without a folder ("ttyUSB0", "pts/3") is under /dev, as the
    // serial port opens it; a path starting with /, ./ or ../ is taken as it is.
    QString devicePath() const;
    // How to gain the right to open a device refused for want of it; empty when not known.
    QString permissionHint() const;

    QString deviceName_;
    QStringList lockFolders_;
    QSerialPort port_;
    QString error_;
};
