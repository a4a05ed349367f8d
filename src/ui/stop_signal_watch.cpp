#include "ui/stop_signal_watch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t noted = 0;
// The handler writes a byte here, so that the event loop wakes when nothing else happens.
int wakeRead = -1;
int wakeWrite = -1;

void note(int signal)
{
    const int savedErrno = errno;
    if (noted == 0)
        noted = signal;
    const char byte = 1;
    // Full pipe: a byte is already waiting, which is all the loop needs.
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite, &byte, 1);
    errno = savedErrno;
}

void handleWith(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // The waits on the line are polls with a time limit; an interrupted one is simply made again.
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

} // namespace

StopSignalWatch::StopSignalWatch(QObject *parent) : QObject(parent)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead = fds[0];
        wakeWrite = fds[1];
        notifier_ = new QSocketNotifier(wakeRead, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &StopSignalWatch::wake);
    }
    noted = 0;
    handleWith(note);
}

StopSignalWatch::~StopSignalWatch()
{
    handleWith(SIG_DFL);
    delete notifier_;
    for (int fd : {wakeRead, wakeWrite}) {
        if (fd >= 0)
            ::close(fd);
    }
    wakeRead = wakeWrite = -1;
    noted = 0;
}

int StopSignalWatch::received() const
{
    return noted;
}

void StopSignalWatch::wake()
{
    char bytes[16];
    while (::read(wakeRead, bytes, sizeof bytes) > 0) {
    }
    if (noted != 0 && !announced_) {
        announced_ = true;
        emit signalled(noted);
    }
}
