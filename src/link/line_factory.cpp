#include "link/line_factory.h"

#include "link/transports.h"

std::unique_ptr<SerialLine> makeSerialLine(const QString &deviceName)
{
    return transportFor(deviceName).makeLine(deviceName);
}

SerialLineFactory deviceLineFactory()
{
    return makeSerialLine;
}
