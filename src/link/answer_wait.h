#pragma once

#include <QtGlobal>

#include <functional>
#include <utility>

class LinkClock;
class SerialLine;

// The waits for a switch's answer on one line. They sleep on the line and yield to the program's
// events at every pass, never spin, and reckon with the line's speed: an answer cannot be all in
// before the command and the answer have crossed the line at 9600 baud, so until a few byte
// times before that the wait rests (as long at a time as the clock lets it: 10 ms where a window
// must keep repainting), then it wakes as the last bytes come. It also watches how they come: one
// at a time in step with the line, or in bursts that some part of the way held back.
class AnswerWait
{
public:
    AnswerWait(SerialLine &line, LinkClock &clock);

    // Every wait ends at its next pass once this says so (the user asked the command to stop), as
    // it does once the line is no longer open (gone, as an unplugged adapter or a lost
    // connection).
    void setStopRequest(std::function<bool()> stop) { stop_ = std::move(stop); }

    // Call just before a command of commandBytes is handed to the line.
    void commandSent(int commandBytes);
    // Until `awaited` bytes are in, or timeoutMs passed since the command went out. `onPass` runs
    // before each pass (to move a progress bar). An answer whose end needs no watching (its
    // length is known from the ones before) may be woken for later: `watchEnd` false.
    void forBytes(qint64 awaited, qint64 timeoutMs, bool watchEnd = true,
                  const std::function<void()> &onPass = {});
    // Until minBytes are in, or 10,001 passes of 0.1 ms and more were made, or 3 s passed.
    void countedPasses(int minBytes);
    // After the bytes awaited are in: until the line has been quiet for as long as a byte past
    // the answer's end could still take to come, so that a longer answer is seen whole. When
    // its last bytes came one at a time in step with the line, nothing on the way holds bytes
    // back and three byte times are enough; otherwise heldBackMicros.
    void answerTail(int heldBackMicros);
    // Until one pass of quietMicros brought no byte; 3 s at most, should the line never fall
    // quiet.
    void quietLine(int quietMicros);

private:
    // A stop was asked for, or the line is gone: nothing more will come.
    bool ended() const;
    // Notes whether the count of bytes received grew, and how.
    void look();
    // One pass towards `awaited` bytes, waking wakeBytes byte times before they can be in.
    void passTowards(qint64 awaited, qint64 wakeBytes);

    SerialLine &line_;
    LinkClock &clock_;
    int commandBytes_ = 0;
    qint64 sentAt_ = 0;   // microseconds on the clock
    qint64 seen_ = 0;     // bytes counted since the command went out
    qint64 grewAt_ = -1;  // when the count last grew
    int singleSteps_ = 0; // growths by one byte each, about a byte time apart, in a row
    std::function<bool()> stop_;
};
