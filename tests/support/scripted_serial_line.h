#pragma once

#include "link/link_clock.h"
#include "link/serial_line.h"

#include <QByteArrayList>

#include <functional>
#include <utility>

// A serial line with a scripted peer. Every send is recorded as one command and handed to
// `answer`; what it returns arrives while the link waits (chunkSize bytes per wait, all of it when
// 0), or by the time send() returns for a fast peer.
class ScriptedSerialLine : public SerialLine
{
public:
    std::function<QByteArray(const QByteArray &command)> answer; // empty: silence
    int chunkSize = 0;
    bool answersOnSend = false;

    QByteArrayList commands;
    int sendsOverUnreadInput = 0; // commands sent while earlier input still waited to be read

    bool open() override { return !std::exchange(open_, true); } // fails when already open
    void close() override;
    bool isOpen() const override { return open_; }
    QString errorText() const override { return {}; }
    bool send(const QByteArray &bytes) override;
    qint64 bytesAvailable() override { return received_.size(); }
    QByteArray readAll() override { return std::exchange(received_, {}); }
    void discardInput() override { received_.clear(); }
    void waitForInput(int maxMicros) override;

    // Bytes that came unasked.
    void inject(const QByteArray &bytes) { received_ += bytes; }

private:
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
