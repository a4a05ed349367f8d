#include "link/line_factory.h"

#include "link/transports.h"

std::unique_ptr<SerialLine> makeSerialLine(const QString &deviceName, LinkClock &clock)
{
    return transportFor(deviceName).makeLine(deviceName, clock);
}

SerialLineFactory deviceLineFactory()
{
    return makeSerialLine;
}
