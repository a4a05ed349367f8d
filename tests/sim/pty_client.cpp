#include "pty_client.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyClient::PtyClient(const QString &path)
{
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd_ < 0)
        return;
    termios settings{};
    if (tcgetattr(fd_, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd_, TCSANOW, &settings);
    }
}

PtyClient::~PtyClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool PtyClient::send(const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t wrote =
            ::write(fd_, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        sent += wrote;
    }
    return true;
}

QByteArray PtyClient::receive(int count, int timeoutMs)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < count) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        pollfd fd{fd_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left)) <= 0)
            continue;
        char buffer[1024];
        const ssize_t read =
            ::read(fd_, buffer, std::min<size_t>(sizeof buffer, count - got.size()));
        if (read > 0)
            got.append(buffer, read);
    }
    return got;
}
