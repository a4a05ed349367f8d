#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class LinkClock;

// One serial line to the switch's management controller: 9600 baud, 8 data bits, no parity, one
// stop bit, raw bytes both ways.
class SerialLine
{
public:
    virtual ~SerialLine() = default;

    // An operation's open and close. They may be logical for a line that keeps its connection: a
    // network line connects at its first open and stays connected across a command's closes and
    // opens until it is destroyed, dropping what came while it was closed.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Why the last open (or send) failed.
    virtual QString errorText() const = 0;

    // Hands the bytes to the driver before returning; false when that failed.
    virtual bool send(const QByteArray &bytes) = 0;
    // After a last command that nothing answers: waits until what was sent has left this end for
    // good, so that closing the line cannot lose it. False when it did not leave.
    virtual bool waitUntilSent() { return true; }
    // Input received and not read yet.
    virtual qint64 bytesAvailable() = 0;
    virtual QByteArray readAll() = 0;
    // Drops every byte received and not read yet.
    virtual void discardInput() = 0;
    // Lets input arrive for at most maxMicros microseconds; returns as soon as some did.
    virtual void waitForInput(int maxMicros) = 0;
};

// Makes the (closed) line on a device: a COM port's device, a USB adapter, a pseudo-terminal, a
// console server's network port. A line that reckons time reads it from `clock`, the clock of
// the waits on it.
using SerialLineFactory =
    std::function<std::unique_ptr<SerialLine>(const QString &device, LinkClock &clock)>;
