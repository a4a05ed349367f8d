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
// at a time in step with the line, or in bursts that some part of the way held back (a USB
// adapter's latency timer, a UART's receive FIFO, a console server), and how long the longest
// such gap was, so that a gap between two bursts is not taken for the end of an answer.
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
    // An answer of at least minBytes whose length is open, after answers of `last` and `before`
    // bytes (0: none yet). The longer of the two is expected. Once both are known, an answer of
    // that length is over as soon as it is in; otherwise, and whenever fewer bytes came, once at
    // least minBytes are in and the line stayed quiet past the moment the expected bytes would
    // have been in (see answerTail for how long; longer when the two before were alike). Bytes
    // that came too soon to answer this command (staleBytes()) count towards the answer before.
    // Gives up timeoutMs after the command went out.
    void forOpenLength(qint64 minBytes, qint64 last, qint64 before, qint64 timeoutMs,
                       int heldBackMicros);
    // Bytes of the answer before that came after this command went out (see look()).
    qint64 staleBytes() const { return staleBytes_; }
    // Until minBytes are in, or 10,001 passes of 0.1 ms and more were made, or 3 s passed.
    void countedPasses(int minBytes);
    // After the bytes awaited are in: until the line has been quiet for as long as a byte past
    // the answer's end could still take to come, so that a longer answer is seen whole. When its
    // last bytes came one at a time in step with the line and no burst was seen in it or in the
    // answer before, nothing on the way holds bytes back and the next byte would follow within a
    // byte time; otherwise heldBackMicros, or longer than the longest gap seen between bursts.
    void answerTail(int heldBackMicros);
    // Until the line has been quiet for quietMicros since the last byte came (or longer than the
    // longest gap seen between bursts); 3 s at most, should it never fall quiet.
    void quietLine(int quietMicros);

private:
    // A stop was asked for, or the line is gone: nothing more will come. What a gone line still
    // held is taken in first.
    bool ended();
    // Notes whether the count of bytes received grew, and how.
    void look();
    // One pass towards `awaited` bytes, waking wakeBytes byte times before they can be in.
    void passTowards(qint64 awaited, qint64 wakeBytes);
    // Passes until the clock reads `until` (or later, as it is recomputed after each byte).
    void quietUntil(const std::function<qint64()> &until);
    // When an answer of `expected` bytes, of which seen_ are in, is over if no byte comes.
    qint64 endOfAnswer(qint64 expected, int heldBackMicros) const;
    // Longer than the longest gap seen in this answer or the one before; 0 when none was seen.
    qint64 gapQuiet() const;
    bool inStep() const;
    qint64 ownBytes() const { return seen_ - staleBytes_; }

    SerialLine &line_;
    LinkClock &clock_;
    int commandBytes_ = 0;
    qint64 sentAt_ = 0;          // microseconds on the clock
    qint64 seen_ = 0;            // bytes counted since the command went out
    qint64 staleBytes_ = 0;      // of them, the rest of the answer before
    bool lineSpeed_ = false;     // the other end is no faster than a 9600-baud line
    bool answerOnTime_ = false;  // this answer's first byte came no sooner than the line allows
    qint64 grewAt_ = -1;         // when the count last grew
    qint64 listeningSince_ = -1; // end of the last rest: what came during it was not watched
    bool restedSinceLook_ = false;
    int singleSteps_ = 0;      // growths by one byte each, about a byte time apart, in a row
    qint64 gapMicros_ = 0;     // the longest a byte of this answer was held back on the way
    qint64 lastGapMicros_ = 0; // the same in the answer before
    std::function<bool()> stop_;
};
