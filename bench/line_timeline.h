#pragma once

#include "link/serial_line.h"

#include <QElapsedTimer>
#include <QString>

#include <vector>

// Passes everything to another line and notes when each command went out, when the link first
// saw each of its answer's bytes and what the port's opening and closing cost, so that a run's
// time can be laid against the time its bytes need on the wire.
class TimelineSerialLine : public SerialLine
{
public:
    explicit TimelineSerialLine(SerialLine &inner) : inner_(inner) { clock_.start(); }

    bool open() override;
    void close() override;
    bool isOpen() const override { return inner_.isOpen(); }
    QString errorText() const override { return inner_.errorText(); }
    bool send(const QByteArray &bytes) override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    void discardInput() override;
    void waitForInput(int maxMicros) override;

    // Forgets what was noted; the time of the next run counts from here.
    void restart();
    // Per kind of command: how many, their wire time, and where the wall time went.
    QString phaseTable() const;

private:
    struct Exchange {
        QByteArray command;
        qint64 sentAt = 0;     // when send() was called
        qint64 lastSeenAt = 0; // when the last byte of its answer was first counted
        qint64 received = 0;
        qint64 lastChunk = 0;  // bytes first counted together with the last one
        qint64 portMicros = 0; // opening and closing the port until the next command
    };
    qint64 now() const { return clock_.nsecsElapsed() / 1000; }
    void noteArrivals();

    SerialLine &inner_;
    QElapsedTimer clock_;
    qint64 startedAt_ = 0;
    qint64 firstPortMicros_ = 0; // port work before the first command
    qint64 consumed_ = 0;        // bytes read or dropped since the last command
    qint64 seen_ = 0;
    bool open_ = false; // as far as this line knows: asking the line may cost a system call
    std::vector<Exchange> exchanges_;
};
