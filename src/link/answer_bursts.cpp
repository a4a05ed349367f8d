#include "link/answer_bursts.h"

#include "link/link_clock.h"

#include <algorithm>

namespace
{

// However long a silence inside an answer was once, a wait lasts at most this long past the last
// byte: a server that stalled for seconds must not slow every later answer as much.
constexpr qint64 kLongestSettleMicros = 1000000;

} // namespace

void AnswerBursts::commandSent()
{
    // What a stalled moment taught fades, what the other end keeps doing is learned again from
    // this answer's own gaps before its end is waited for.
    answerStarted_ = false;
    longestSilenceMicros_ /= 2;
}

void AnswerBursts::looked(bool dataCame, bool lookedNow, bool waited)
{
    const qint64 now = clock_.elapsedMicros();
    if (!dataCame) {
        if (lookedNow)
            lastQuietLookMicros_ = now;
        return;
    }
    // The silence is known to have lasted at least from the last byte to the last look that found
    // nothing (or to now, when a wait ended with the data).
    const qint64 arrivedAfter = waited ? now : lastQuietLookMicros_;
    if (answerStarted_ && arrivedAfter > lastDataMicros_)
        longestSilenceMicros_ = std::max(longestSilenceMicros_, arrivedAfter - lastDataMicros_);
    answerStarted_ = true;
    lastDataMicros_ = now;
}

qint64 AnswerBursts::waitEnd(int maxMicros) const
{
    const qint64 end = clock_.elapsedMicros() + maxMicros;
    // While an answer is coming, quiet means quiet for longer than the gaps it has shown.
    if (maxMicros <= 0 || !answerStarted_)
        return end;
    return std::max(end, lastDataMicros_ +
                             std::min(longestSilenceMicros_ * 3 / 2, kLongestSettleMicros));
}
