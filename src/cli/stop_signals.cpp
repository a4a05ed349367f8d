#include "stop_signals.h"

#include "link/stop_messages.h"

#include <csignal>

namespace StopSignals
{

namespace
{

volatile std::sig_atomic_t noted = 0;

void note(int signal)
{
    if (noted == 0)
        noted = signal;
}

} // namespace

void install()
{
    struct sigaction action = {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    // Waits on the port are polls with a time limit; an interrupted one is simply made again.
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

int received()
{
    return noted;
}

QString name(int signal)
{
    return StopMessages::signalName(signal);
}

} // namespace StopSignals
