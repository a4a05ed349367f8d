#pragma once

#include "link/link_clock.h"
#include "link/serial_line.h"

#include <QByteArrayList>

#include <functional>

// A serial line with a scripted peer. Every command sent is recorded and handed to `answer`; what
// it returns arrives while the link waits (one chunk per wait), or at once for a fast peer.
class ScriptedSerialLine : public SerialLine
{
public:
    // Command (as on the wire, with its CR) -> answer bytes; empty for silence.
    std::function<QByteArray(const QByteArray &command)> answer;
    int opensAllowed = 1 << 30; // opens beyond this many fail
    int chunkSize = 0;          // bytes delivered per wait; 0: a whole answer
    bool answersOnSend = false; // the answer is buffered by the time send() returns

    QByteArrayList commands; // every complete command, in order
    QByteArray unparsed;     // bytes that do not form a command
    int sendsWhileClosed = 0;

    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    QString errorText() const override;
    bool send(const QByteArray &bytes) override;
    qint64 bytesAvailable() override { return received_.size(); }
    QByteArray readAll() override;
    void discardInput() override { received_.clear(); }
    void waitForInput(int maxMicros) override;

    // Bytes that came unasked.
    void inject(const QByteArray &bytes) { received_ += bytes; }

private:
    int opens_ = 0;
    bool open_ = false;
    QByteArray onTheWire_; // answered, not yet received
    QByteArray received_;
};

// Virtual time: each pass advances the clock by its full length and lets the line deliver, so a
// three-second time-out costs a few thousand loop turns and no real waiting.
class VirtualLinkClock : public LinkClock
{
public:
    qint64 elapsedMs() const override { return micros / 1000; }
    void pass(SerialLine &line, int maxMicros) override
    {
        ++passes;
        micros += maxMicros;
        line.waitForInput(maxMicros);
    }

    qint64 micros = 0;
    long passes = 0;
};
