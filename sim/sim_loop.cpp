#include "sim_loop.h"

#include "emulated_switch.h"
#include "session_records.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

namespace
{

constexpr int kBaud = 9600;
constexpr std::size_t kFloodChunk = 4096;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

timespec toTimespec(LinePacer::Clock::duration duration)
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(duration).count();
    const auto positive = ns > 0 ? ns : 0;
    return timespec{static_cast<time_t>(positive / 1'000'000'000),
                    static_cast<long>(positive % 1'000'000'000)};
}

} // namespace

SimLoop::SimLoop(Setup setup, EmulatedSwitch &device, SessionRecords &records)
    : setup_(setup), device_(device), records_(records), fromPc_(setup.paced ? kBaud : 0),
      // A trickle spaces the answer bytes by its own time: "bits" of a millisecond at 1000 baud.
      toPc_(setup.trickleMs > 0 ? LinePacer(1000, setup.trickleMs)
                                : LinePacer(setup.paced ? kBaud : 0)),
      noisePacer_(kBaud)
{
}

bool SimLoop::run(QString &error)
{
#ifdef __linux__
    // A paced byte leaves at its time to the microsecond, not up to 50 us late as the kernel
    // lets a sleeper's wake-ups slip by default.
    if (setup_.paced)
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    for (;;) {
        Clock::time_point now = Clock::now();
        takeDueInput(now);
        if (!sendDueOutput(now, error))
            return false;
        if (vanished_ && output_.empty()) {
            lingerUntilRead();
            return true;
        }
        // A flood is as fast as the terminal takes it: a chunk at a time waits in the queue.
        if (device_.flooding() && output_.size() < kFloodChunk) {
            for (std::size_t i = 0; i < kFloodChunk; ++i)
                output_.push_back({char('0' + i % 10), now});
        }
        // Noise never stops, but no faster than the line: one junk byte waits in the queue.
        if (setup_.noise && output_.empty()) {
            noiseState_ = noiseState_ * 1103515245u + 12345u;
            output_.push_back({char(noiseState_ >> 16), noisePacer_.crossed(now)});
        }

        pollfd fds[3] = {};
        fds[0] = {setup_.masterFd, static_cast<short>(POLLIN | (outputBlocked_ ? POLLOUT : 0)), 0};
        fds[1] = {setup_.stopFd, POLLIN, 0};
        fds[2] = {STDIN_FILENO, POLLIN, 0};
        const nfds_t count = setup_.watchStdin ? 3 : 2;

        timespec timeout{};
        const Clock::time_point *deadline = nextDeadline();
        if (deadline)
            timeout = toTimespec(*deadline - Clock::now());
        if (ppoll(fds, count, deadline ? &timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            error = systemError("ppoll");
            return false;
        }
        if (fds[1].revents != 0)
            return true;
        if (count == 3 && fds[2].revents != 0) {
            char scrap[256];
            if (::read(STDIN_FILENO, scrap, sizeof scrap) <= 0)
                return true;
        }
        if (fds[0].revents & POLLOUT)
            outputBlocked_ = false;
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            now = Clock::now();
            if (!receive(now, error))
                return false;
        }
    }
}

void SimLoop::lingerUntilRead()
{
    // The last answer may still be on its way: closing the terminal hangs it up and drops
    // whatever the other end has not read. Bytes written to the master reach the slave's queue
    // only when the kernel gets round to it (later still on a loaded machine), so one look at an
    // empty queue proves nothing: the queue must stay empty for a while. The terminal was locked
    // when the controller vanished, so nobody can open it meanwhile.
    const Clock::time_point limit = Clock::now() + std::chrono::seconds(2);
    Clock::time_point emptySince = Clock::now();
    while (Clock::now() < limit && Clock::now() - emptySince < std::chrono::milliseconds(200)) {
        int waiting = 0;
        if (::ioctl(setup_.slaveFd, FIONREAD, &waiting) != 0)
            return;
        if (waiting > 0)
            emptySince = Clock::now();
        ::usleep(1000);
    }
}

bool SimLoop::receive(Clock::time_point now, QString &error)
{
    char buffer[1024];
    for (;;) {
        const ssize_t got = ::read(setup_.masterFd, buffer, sizeof buffer);
        if (got > 0) {
            for (ssize_t i = 0; i < got; ++i)
                input_.push_back({buffer[i], fromPc_.crossed(now)});
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // EIO: no slave open at the moment; it cannot last while our own slave fd is open.
        if (got < 0 && (errno == EAGAIN || errno == EIO))
            return true;
        error = got == 0 ? QStringLiteral("pty closed") : systemError("read pty");
        return false;
    }
}

void SimLoop::takeDueInput(Clock::time_point now)
{
    while (!input_.empty() && input_.front().due <= now) {
        const TimedByte byte = input_.front();
        input_.pop_front();
        if (const std::optional<Command> command = parser_.feed(byte.byte)) {
            execute(*command, byte.due);
            if (setup_.vanishAfter > 0 && ++commandsReceived_ >= setup_.vanishAfter) {
                records_.log(QStringLiteral("vanished"));
                vanished_ = true;
                // The one who has the terminal open still gets the last answer.
                if (setup_.onVanish)
                    setup_.onVanish();
                input_.clear();
                return;
            }
        }
    }
}

void SimLoop::execute(const Command &command, Clock::time_point ready)
{
    if (command.skippedBefore > 0)
        records_.log(QStringLiteral("skipped %1").arg(command.skippedBefore));
    const Reply reply = device_.execute(command);
    records_.log(reply.logLine);
    // The state is on disk before the answer leaves, so whoever got the answer may read it.
    if (reply.eepromChanged)
        records_.saveState(device_.eeprom());
    const Clock::time_point start = ready + std::chrono::microseconds(setup_.answerDelayMicros);
    std::vector<TimedByte> answer;
    for (char byte : reply.answer)
        answer.push_back({byte, toPc_.crossed(start)});
    handOverInBursts(answer);
    output_.insert(output_.end(), answer.begin(), answer.end());
}

void SimLoop::handOverInBursts(std::vector<TimedByte> &answer) const
{
    if (setup_.burstGapMicros <= 0)
        return;
    const Clock::duration tick = std::chrono::microseconds(setup_.burstGapMicros);
    const std::size_t packet = static_cast<std::size_t>(setup_.burstBytes);
    std::size_t first = 0;
    while (first < answer.size()) {
        // The next tick of the timer once the first waiting byte has crossed.
        const auto ticks = (answer[first].due - ticksFrom_ + tick - Clock::duration(1)) / tick;
        const Clock::time_point nextTick = ticksFrom_ + ticks * tick;
        std::size_t end = first;
        while (end < answer.size() && end - first < packet && answer[end].due <= nextTick)
            ++end;
        // A full packet goes out without waiting for the tick.
        const Clock::time_point handedAt = end - first == packet ? answer[end - 1].due : nextTick;
        for (std::size_t i = first; i < end; ++i)
            answer[i].due = handedAt;
        first = end;
    }
}

bool SimLoop::sendDueOutput(Clock::time_point now, QString &error)
{
    if (outputBlocked_)
        return true;
    QByteArray due;
    for (const TimedByte &byte : output_) {
        if (byte.due > now)
            break;
        due.append(byte.byte);
    }
    qsizetype sent = 0;
    while (sent < due.size()) {
        const ssize_t wrote = ::write(setup_.masterFd, due.constData() + sent,
                                      static_cast<size_t>(due.size() - sent));
        if (wrote > 0) {
            sent += wrote;
            continue;
        }
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0 && errno == EAGAIN) {
            outputBlocked_ = true;
            break;
        }
        error = systemError("write pty");
        return false;
    }
    output_.erase(output_.begin(), output_.begin() + sent);
    return true;
}

const SimLoop::Clock::time_point *SimLoop::nextDeadline() const
{
    const Clock::time_point *earliest = nullptr;
    if (!input_.empty())
        earliest = &input_.front().due;
    if (!output_.empty() && !outputBlocked_ && (!earliest || output_.front().due < *earliest))
        earliest = &output_.front().due;
    return earliest;
}
