#include "link/stop_messages.h"

#include <csignal>

namespace StopMessages
{

QString signalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

QString stoppedBy(int signal)
{
    return QStringLiteral("Stopped by %1").arg(signalName(signal));
}

QString writeStopped(int wordsSent, int wordsToSend)
{
    if (wordsSent == 0)
        return QStringLiteral(" before any word was written: the switch is unchanged.");
    const QString notReset =
        QStringLiteral(" The switch was not reset: it keeps running its old configuration until "
                       "it restarts");
    if (wordsSent < wordsToSend)
        return QStringLiteral(" after %1 of %2 words were written.")
                   .arg(wordsSent)
                   .arg(wordsToSend) +
               notReset +
               QStringLiteral(", and its EEPROMs hold part of the new one. Write it again.");
    return QStringLiteral(" after all %1 words were written, before they were verified.")
               .arg(wordsToSend) +
           notReset + QStringLiteral(". Write it again.");
}

QString notRestartedHolding(const QString &whatEepromsHold)
{
    return QStringLiteral("The switch was not restarted: it keeps running its old configuration "
                          "until it restarts, while its EEPROMs hold %1.")
        .arg(whatEepromsHold);
}

} // namespace StopMessages
