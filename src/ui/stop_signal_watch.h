#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP for the window (a logout, a closed terminal, kill): noted instead of
// ending the program at once, so that a transfer stops between two words and the port is closed
// normally. One watch at a time; the signals end the program again once it is gone.
class StopSignalWatch : public QObject
{
    Q_OBJECT

public:
    explicit StopSignalWatch(QObject *parent = nullptr);
    ~StopSignalWatch() override;
    StopSignalWatch(const StopSignalWatch &) = delete;
    StopSignalWatch &operator=(const StopSignalWatch &) = delete;

    // The signal noted first; 0 while none came. Read straight from the handler's note, so a
    // transfer's waits may poll it between two events.
    int received() const;

signals:
    // From the event loop, once, after the first signal.
    void signalled(int signal);

private:
    void wake();

    QSocketNotifier *notifier_ = nullptr;
    bool announced_ = false;
};
