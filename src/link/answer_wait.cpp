#include "link/answer_wait.h"

#include "link/link_clock.h"
#include "link/serial_line.h"

#include <algorithm>
#include <utility>

namespace
{

// A byte takes 1.04 ms at 9600 baud (10 bits).
constexpr qint64 kByteMicros = 1041;
// Rests end this many byte times before an answer can be all in, so that its last bytes are seen
// one by one as they come; or two byte times before, when how they come does not matter.
constexpr qint64 kWatchedEndBytes = 4;
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
// Bytes come in step with the line when each follows the one before by about a byte time. Then
// nothing on the way holds them back, and a byte past the end of an answer would follow its last
// one within a byte time: half a byte time more of quiet shows that none does. A longer wait is
// a gap between bursts, which may come again before the answer is over.
constexpr qint64 kInStepSlackMicros = kByteMicros / 2;
constexpr qint64 kInStepShortestMicros = kByteMicros - kInStepSlackMicros;
constexpr qint64 kInStepLongestMicros = kByteMicros + kInStepSlackMicros;
constexpr int kInStepGrowths = 2;
// After bursts the quiet that ends an answer outlasts the longest gap seen by a quarter and a
// byte time, up to a limit far above any adapter's latency timer.
constexpr qint64 kLongestGapQuietMicros = 300000;
constexpr qint64 kQuietLineLimitMs = 3000;
// An answer shorter than the two before, which had the same length, is taken for whole only
// after this many times the caller's quiet time, unless it came over a 9600-baud line: there
// three byte times do, or longer than the longest gap seen.
constexpr int kSteadyLengthQuietFactor = 5;
constexpr int kLineSpeedQuietMicros = 3 * kByteMicros;
// No answer to a command that has one is shorter.
constexpr qint64 kAnswerBytesAtLeast = 6;

} // namespace

AnswerWait::AnswerWait(SerialLine &line, LinkClock &clock) : line_(line), clock_(clock) {}

void AnswerWait::commandSent(int commandBytes)
{
    commandBytes_ = commandBytes;
    sentAt_ = clock_.elapsedMicros();
    seen_ = 0;
    staleBytes_ = 0;
    grewAt_ = -1;
    listeningSince_ = -1;
    restedSinceLook_ = false;
    // A line is taken for a 9600-baud line once an answer came over it one byte at a time,
    // about a byte time apart, and no sooner than the line allows; a byte seen sooner than that
    // shows a faster peer (see look()).
    lineSpeed_ = lineSpeed_ || (answerOnTime_ && singleSteps_ >= kInStepGrowths);
    answerOnTime_ = false;
    singleSteps_ = 0;
    // An adapter that held bytes back in one answer will do so again.
    lastGapMicros_ = gapMicros_;
    gapMicros_ = 0;
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

void AnswerWait::forOpenLength(qint64 minBytes, qint64 last, qint64 before, qint64 timeoutMs,
                               int heldBackMicros)
{
    const bool trusted = last > 0 && before > 0;
    // On a 9600-baud line a wrong guess shows (as stale bytes) and is mended with the next
    // answer, so the quiet seen there need not outlast more than the gaps seen. Elsewhere, a
    // switch that answered twice with the same length is unlikely to answer shorter: before such
    // an answer is taken for whole, the line must stay quiet longer.
    const int quietMicros = lineSpeed_                  ? kLineSpeedQuietMicros
                            : trusted && last == before ? kSteadyLengthQuietFactor * heldBackMicros
                                                        : heldBackMicros;
    // The rest ends a few bytes before the shortest answer likely, so that the end of a shorter
    // one is seen in step; an answer as long as the two before needs no watching.
    const qint64 watchedLength = trusted ? std::min(last, before) : minBytes;
    const qint64 wakeBytes = trusted && last == before ? kUnwatchedEndBytes : kWatchedEndBytes;
    const qint64 start = clock_.elapsedMs();
    look();
    while (clock_.elapsedMs() - start <= timeoutMs && !ended()) {
        // The last answer was as much longer as its rest came after this command went out.
        const qint64 expected = std::max({last + staleBytes_, before, minBytes});
        if (trusted && ownBytes() >= expected)
            return;
        if (ownBytes() < minBytes) {
            passTowards(watchedLength, wakeBytes);
        } else {
            const qint64 left = endOfAnswer(expected, quietMicros) - clock_.elapsedMicros();
            if (left <= 0)
                return;
            clock_.pass(line_, static_cast<int>(std::min(
                                   left, static_cast<qint64>(clock_.longestRestMicros()))));
        }
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
    // sooner. Once bytes come, resting past the next ones saves a wake per byte; how they came
    // meanwhile is not seen.
    if (line_.bytesAvailable() > 0) {
        clock_.rest(line_, micros);
        listeningSince_ = clock_.elapsedMicros();
        restedSinceLook_ = true;
    } else {
        clock_.pass(line_, micros);
    }
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
    quietUntil([this, heldBackMicros] { return endOfAnswer(ownBytes(), heldBackMicros); });
}

void AnswerWait::quietLine(int quietMicros)
{
    quietUntil([this, quietMicros] {
        const qint64 last = grewAt_ >= 0 ? grewAt_ : clock_.elapsedMicros();
        return last + std::max(static_cast<qint64>(quietMicros), gapQuiet());
    });
}

void AnswerWait::quietUntil(const std::function<qint64()> &until)
{
    const qint64 start = clock_.elapsedMs();
    look();
    while (clock_.elapsedMs() - start <= kQuietLineLimitMs && !ended()) {
        const qint64 left = until() - clock_.elapsedMicros();
        if (left <= 0)
            return;
        clock_.pass(line_, static_cast<int>(
                               std::min(left, static_cast<qint64>(clock_.longestRestMicros()))));
        look();
    }
}

qint64 AnswerWait::endOfAnswer(qint64 expected, int heldBackMicros) const
{
    const qint64 last = grewAt_ >= 0 ? grewAt_ : clock_.elapsedMicros();
    // The bytes still expected would cross the line a byte time apart after the last one; in
    // step they come as they cross, otherwise they may be held back on the way.
    const qint64 missing = std::max<qint64>(expected - ownBytes(), 0);
    // Taking an answer for shorter than expected is only safe where a mistake shows: on a line
    // no faster than 9600 baud, its late rest comes as stale bytes before the next answer.
    if (inStep() && (missing == 0 || lineSpeed_))
        return last + std::max<qint64>(missing, 1) * kByteMicros + kInStepSlackMicros;
    // Otherwise the caller's time for a line that may hold bytes back, or longer than the
    // longest gap seen.
    return last + missing * kByteMicros + std::max(static_cast<qint64>(heldBackMicros), gapQuiet());
}

qint64 AnswerWait::gapQuiet() const
{
    const qint64 gap = std::max(gapMicros_, lastGapMicros_);
    return gap > 0 ? std::min(gap + gap / 4 + kByteMicros, kLongestGapQuietMicros) : 0;
}

bool AnswerWait::ended()
{
    if (stop_ && stop_())
        return true;
    if (line_.isOpen())
        return false;
    // A line that went away still holds what came before it did: an answer that came whole is
    // an answer, however soon after it the line went.
    for (qint64 held = -1; line_.bytesAvailable() > held;) {
        held = line_.bytesAvailable();
        line_.waitForInput(0);
        look();
    }
    return true;
}

bool AnswerWait::inStep() const
{
    // On a 9600-baud line two bytes seen together after a byte time are the wake-up's jitter, not
    // an adapter's burst: a mistake there shows, as the late rest comes before the next answer.
    const qint64 tolerated = lineSpeed_ ? kByteMicros : 0;
    return singleSteps_ >= kInStepGrowths && std::max(gapMicros_, lastGapMicros_) <= tolerated;
}

void AnswerWait::look()
{
    const bool rested = std::exchange(restedSinceLook_, false);
    const qint64 count = line_.bytesAvailable();
    if (count <= seen_)
        return;
    const qint64 now = clock_.elapsedMicros();
    const qint64 grown = std::exchange(seen_, count);
    // On a line no faster than 9600 baud, a few bytes that come before the command could have
    // crossed it are the rest of the answer before, which was taken as whole too soon. As many
    // as an answer has at least are an answer: the other end is faster than the line.
    if (lineSpeed_ && grewAt_ < 0 && now < sentAt_ + commandBytes_ * kByteMicros) {
        staleBytes_ = count < kAnswerBytesAtLeast ? count : 0;
        if (staleBytes_ > 0)
            return;
    }
    if (grewAt_ < 0) {
        answerOnTime_ = now - sentAt_ >= (commandBytes_ + 1) * kByteMicros - kInStepSlackMicros;
        lineSpeed_ = lineSpeed_ && answerOnTime_;
    }
    // The first bytes of an answer, and those that came while the wait rested, say nothing of
    // how the line hands bytes over.
    if (grewAt_ >= 0 && !rested) {
        const qint64 waited = now - std::max(grewAt_, listeningSince_);
        const bool single =
            count - grown == 1 && waited >= kInStepShortestMicros && waited <= kInStepLongestMicros;
        singleSteps_ = single ? singleSteps_ + 1 : 0;
        // Bytes handed over together crossed the line a byte time apart: the first of them was
        // held back at least that long.
        const qint64 held =
            std::max(waited > kInStepLongestMicros ? waited : 0, (count - grown - 1) * kByteMicros);
        gapMicros_ = std::max(gapMicros_, held);
    } else {
        singleSteps_ = 0;
    }
    grewAt_ = now;
}
