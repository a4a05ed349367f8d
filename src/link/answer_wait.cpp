#include "link/answer_wait.h"

#include "link/link_clock.h"
#include "link/serial_line.h"

#include <algorithm>

namespace
{

// A byte takes 1.04 ms at 9600 baud (10 bits).
constexpr qint64 kByteMicros = 1041;
// Rests end this many byte times before an answer can be all in, so that its last bytes are seen
// one by one as they come; or two byte times before, when how they come does not matter.
constexpr qint64 kWatchedEndBytes = 3;
constexpr qint64 kUnwatchedEndBytes = 2;
// Once an answer could be all in, a pass ends as soon as bytes come, and after 1 ms at most.
constexpr int kTimedPassMicros = 1000;
// Reads and probes wait at most this many passes of 0.1 ms and more: one to two seconds, far
// longer than a 6-byte answer takes at 9600 baud.
constexpr int kCountedPassLimit = 10001;
constexpr int kCountedPassMicros = 100;
// Passes may take longer than they sleep (a server sending what is no data keeps each one busy):
// the count is bounded in time too.
constexpr qint64 kCountedPassesLimitMs = 3000;
// A byte past the end of an answer follows its last byte on the line. When the last bytes came
// one at a time in step with the line, nothing on the way held them back, and it would come
// within a byte time; otherwise the caller says how long bytes may be held back.
constexpr int kInStepTailQuietMicros = 3 * kByteMicros;
constexpr int kInStepGrowths = 2;
constexpr qint64 kQuietLineLimitMs = 3000;

} // namespace

AnswerWait::AnswerWait(SerialLine &line, LinkClock &clock) : line_(line), clock_(clock) {}

void AnswerWait::commandSent(int commandBytes)
{
    commandBytes_ = commandBytes;
    sentAt_ = clock_.elapsedMicros();
    seen_ = 0;
    grewAt_ = -1;
    singleSteps_ = 0;
}

void AnswerWait::forBytes(qint64 awaited, qint64 timeoutMs, bool watchEnd,
                          const std::function<void()> &onPass)
{
    const qint64 wakeBytes = watchEnd ? kWatchedEndBytes : kUnwatchedEndBytes;
    const qint64 start = clock_.elapsedMs();
    look();
    while (line_.bytesAvailable() < awaited && clock_.elapsedMs() - start <= timeoutMs &&
           !ended()) {
        if (onPass)
            onPass();
        passTowards(awaited, wakeBytes);
        look();
    }
}

void AnswerWait::passTowards(qint64 awaited, qint64 wakeBytes)
{
    const qint64 allInAt = sentAt_ + (commandBytes_ + awaited) * kByteMicros;
    const qint64 restFor = allInAt - wakeBytes * kByteMicros - clock_.elapsedMicros();
    if (restFor <= 0) {
        clock_.pass(line_, kTimedPassMicros);
        return;
    }
    const int micros =
        static_cast<int>(std::min(restFor, static_cast<qint64>(clock_.longestRestMicros())));
    // Until the first byte comes the pass ends at once when one does: a faster line answers
    // sooner. Once bytes come, resting past the next ones saves a wake per byte.
    if (line_.bytesAvailable() > 0)
        clock_.rest(line_, micros);
    else
        clock_.pass(line_, micros);
}

void AnswerWait::countedPasses(int minBytes)
{
    const qint64 start = clock_.elapsedMs();
    look();
    for (int pass = 0; pass < kCountedPassLimit && line_.bytesAvailable() < minBytes &&
                       clock_.elapsedMs() - start <= kCountedPassesLimitMs && !ended();
         ++pass) {
        clock_.pass(line_, kCountedPassMicros);
        look();
    }
}

void AnswerWait::answerTail(int heldBackMicros)
{
    quietLine(singleSteps_ >= kInStepGrowths ? kInStepTailQuietMicros : heldBackMicros);
}

void AnswerWait::quietLine(int quietMicros)
{
    const qint64 start = clock_.elapsedMs();
    qint64 received = -1;
    while (line_.bytesAvailable() > received && clock_.elapsedMs() - start <= kQuietLineLimitMs &&
           !ended()) {
        received = line_.bytesAvailable();
        clock_.pass(line_, quietMicros);
    }
}

bool AnswerWait::ended() const
{
    return (stop_ && stop_()) || !line_.isOpen();
}

void AnswerWait::look()
{
    const qint64 count = line_.bytesAvailable();
    if (count <= seen_)
        return;
    const qint64 now = clock_.elapsedMicros();
    const bool single = count == seen_ + 1 && grewAt_ >= 0 && now - grewAt_ >= kByteMicros / 2;
    singleSteps_ = single ? singleSteps_ + 1 : 0;
    seen_ = count;
    grewAt_ = now;
}
