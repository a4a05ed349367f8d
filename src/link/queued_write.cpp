#include "link/queued_write.h"

#include <QIODevice>

bool writeAndDrain(QIODevice &device, const QByteArray &bytes, int timeoutMs)
{
    if (device.write(bytes) != bytes.size())
        return false;
    while (device.bytesToWrite() > 0) {
        if (!device.waitForBytesWritten(timeoutMs))
            return false;
    }
    return true;
}
