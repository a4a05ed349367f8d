#include "link/line_factory.h"

#include "link/network_serial_line.h"
#include "link/qt_serial_line.h"

std::unique_ptr<SerialLine> makeSerialLine(const QString &deviceName)
{
    if (isNetworkPortName(deviceName))
        return std::make_unique<NetworkSerialLine>(deviceName);
    return std::make_unique<QtSerialLine>(deviceName);
}

SerialLineFactory deviceLineFactory()
{
    return makeSerialLine;
}
