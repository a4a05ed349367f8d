#include "link/link_clock.h"

#include "link/serial_line.h"

#include <QCoreApplication>
#include <QThread>

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

void EventLoopClock::rest(SerialLine &line, int micros)
{
    QCoreApplication::processEvents();
    QThread::usleep(static_cast<unsigned long>(micros));
    // Take in what came meanwhile, so that the next look at the line counts it.
    line.waitForInput(0);
}
