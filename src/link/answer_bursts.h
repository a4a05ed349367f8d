#pragma once

#include <QtGlobal>

class LinkClock;

// The silences inside the answers a line receives, for a line whose bytes may come in bursts
// further apart than on a UART (over a network, say). It learns the longest silence inside an
// answer (halved at every command, so that a moment's stall fades), and a wait that begins while
// an answer is coming lasts half as long again past its last byte: a quiet line means the answer
// is over there as it does on a UART, and a longer answer is seen whole.
class AnswerBursts
{
public:
    explicit AnswerBursts(LinkClock &clock) : clock_(clock) {}

    // A command went out: a new answer begins.
    void commandSent();
    // What one look at the line's input found: whether data came, whether the line itself was
    // just asked (so nothing new means it was quiet till now), and whether that ask waited for
    // the data (which then came at its end).
    void looked(bool dataCame, bool lookedNow, bool waited);
    // When a wait for input of at most maxMicros that begins now may end with nothing come.
    qint64 waitEnd(int maxMicros) const;

private:
    LinkClock &clock_;
    bool answerStarted_ = false; // data came since the last command
    qint64 lastDataMicros_ = 0;
    qint64 lastQuietLookMicros_ = 0; // the last time the line was asked and had no data
    qint64 longestSilenceMicros_ = 0;
};
