#include "link/link_clock.h"

#include "link/serial_line.h"

#include <QCoreApplication>
#include <QThread>

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

void ThreadClock::pass(SerialLine &line, int maxMicros)
{
    line.waitForInput(maxMicros);
}

void ThreadClock::rest(SerialLine &line, int micros)
{
    QThread::usleep(static_cast<unsigned long>(micros));
    line.waitForInput(0);
}

int ThreadClock::longestRestMicros() const
{
    // A progress bar on a terminal still moves five times a second.
    return 200000;
}
