#include "link/link_clock.h"

#include "link/serial_line.h"

#include <QCoreApplication>

EventLoopClock::EventLoopClock()
{
    timer_.start();
}

qint64 EventLoopClock::elapsedMs() const
{
    return timer_.elapsed();
}

void EventLoopClock::pass(SerialLine &line, int maxMicros)
{
    QCoreApplication::processEvents();
    line.waitForInput(maxMicros);
}
