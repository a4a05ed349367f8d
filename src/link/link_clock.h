#pragma once

#include <QElapsedTimer>

class SerialLine;

// Time and waiting for the link's polling loops, injected so that tests run on virtual time.
class LinkClock
{
public:
    virtual ~LinkClock() = default;
    // Monotonic milliseconds.
    virtual qint64 elapsedMs() const = 0;
    // The same clock in microseconds, for waits that reckon in byte times.
    virtual qint64 elapsedMicros() const { return elapsedMs() * 1000; }
    // One pass of a wait: let the program handle its events, then let input arrive on the line
    // for at most maxMicros microseconds.
    virtual void pass(SerialLine &line, int maxMicros) = 0;
    // Like a pass, but waits out all of `micros` however soon input arrives: for bytes known to
    // be on their way, so that the wait does not wake at every one of them.
    virtual void rest(SerialLine &line, int micros) { pass(line, micros); }
    // The longest a wait may rest or pass at once: how often it must let the program handle its
    // events.
    virtual int longestRestMicros() const { return 10000; }
};

// The monotonic time both real clocks read, from their making on.
class SteadyClock : public LinkClock
{
public:
    SteadyClock() { timer_.start(); }
    qint64 elapsedMs() const override { return timer_.elapsed(); }
    qint64 elapsedMicros() const override { return timer_.nsecsElapsed() / 1000; }

private:
    QElapsedTimer timer_;
};

// The real clock. Each pass processes pending events, so the windows repaint and the progress bar
// moves while a transfer runs, then sleeps on the line instead of spinning.
class EventLoopClock : public SteadyClock
{
public:
    void pass(SerialLine &line, int maxMicros) override;
    void rest(SerialLine &line, int micros) override;
};

// The clock of a transfer that runs in a thread of its own, with no window to keep repainting and
// no events to handle: a pass only sleeps on the line, and a wait may rest as long as the bytes
// it awaits need to cross it.
class ThreadClock : public SteadyClock
{
public:
    void pass(SerialLine &line, int maxMicros) override;
    void rest(SerialLine &line, int micros) override;
    int longestRestMicros() const override;
};
