#pragma once

#include <QByteArray>
#include <QString>

// The PC's end of the line in plain POSIX calls: opens the simulator's terminal raw, writes
// commands and collects answers.
class PtyClient
{
public:
    explicit PtyClient(const QString &path);
    ~PtyClient();
    PtyClient(const PtyClient &) = delete;
    PtyClient &operator=(const PtyClient &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    bool send(const QByteArray &bytes);
    // Reads until `count` bytes came or `timeoutMs` passed; returns what came.
    QByteArray receive(int count, int timeoutMs = 10000);

private:
    int fd_ = -1;
};
