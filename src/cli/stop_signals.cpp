#include "stop_signals.h"

#include "link/stop_messages.h"

#include <atomic>
#include <csignal>

namespace StopSignals
{

namespace
{

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Set once: a second signal while the command stops changes nothing. Threads of several ports
// may take signals at the same moment, hence an atomic exchange (lock-free, so safe in a handler).
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

void note(int signal)
{
    int none = 0;
    noted.compare_exchange_strong(none, signal);
}

} // namespace

void install()
{
    struct sigaction action = {};
    action.sa_handler = note;
    // Two signals pending at once would otherwise run the later one's handler first, inside the
    // earlier one's: the first signal taken is the one that counts.
    sigemptyset(&action.sa_mask);
    for (int signal : kStopSignals)
        sigaddset(&action.sa_mask, signal);
    // Waits on the port are polls with a time limit; an interrupted one is simply made again.
    action.sa_flags = SA_RESTART;
    for (int signal : kStopSignals)
        sigaction(signal, &action, nullptr);
}

int received()
{
    return noted.load();
}

QString name(int signal)
{
    return StopMessages::signalName(signal);
}

} // namespace StopSignals
