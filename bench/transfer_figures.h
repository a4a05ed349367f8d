#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// The line the figures are laid against: 9600 baud, 10 bits a byte (start bit, 8 data bits, stop
// bit).
constexpr qint64 kLineBaud = 9600;
constexpr qint64 kLineBitsPerByte = 10;

// What one timed transfer cost, and how that compares with the line's own limit.
struct TransferFigures {
    qint64 wallMicros = 0;
    qint64 cpuMicros = 0; // user + system time of this process
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
    long waitPasses = 0; // passes of the link's waiting loops

    // The time the bytes take on a 9600-baud line at 10 bits a byte, one direction after the
    // other: the least a command-and-answer exchange can take.
    qint64 wireMicros() const;
    // Wall time over wire time: 1.00 is the line's speed.
    double wallToWire() const;
    // CPU time as a share of the wall time, in percent of one core.
    double cpuPercent() const;
};

// The process's CPU time so far (user + system, every thread), in microseconds.
qint64 processCpuMicros();
// Runs `run`: figures with its wall and CPU time filled in, the rest left to the caller.
TransferFigures measure(const std::function<void()> &run);

// The table printed for the runs: a header, then one row per run.
QString figuresHeader();
QString figuresRow(const QString &run, const QString &outcome, const TransferFigures &figures);
