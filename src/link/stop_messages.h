#pragma once

#include <QString>

// What a Read or Write stopped on request (a signal, or Stop in the window) says about the
// switch, in the same words wherever it was stopped.
namespace StopMessages
{

// "SIGINT", "SIGTERM", "SIGHUP"; "signal N" for any other.
QString signalName(int signal);
// "Stopped by SIGTERM", followed by what the switch holds.
QString stoppedBy(int signal);
// What the switch holds after a write stopped between two words (it is never reset then), as the
// end of a sentence that began with "Stopped by ..." or "Write stopped".
QString writeStopped(int wordsSent, int wordsToSend);
// The switch was not restarted, so it runs its old configuration; said after a write that did not
// verify, with what its EEPROMs now hold.
QString notRestartedHolding(const QString &whatEepromsHold);

} // namespace StopMessages
