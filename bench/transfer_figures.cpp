#include "transfer_figures.h"

#include <QElapsedTimer>

#include <sys/resource.h>

namespace
{

qint64 micros(const timeval &time)
{
    return static_cast<qint64>(time.tv_sec) * 1000000 + time.tv_usec;
}

} // namespace

qint64 TransferFigures::wireMicros() const
{
    return (bytesSent + bytesReceived) * kLineBitsPerByte * 1000000 / kLineBaud;
}

double TransferFigures::wallToWire() const
{
    const qint64 wire = wireMicros();
    return wire > 0 ? static_cast<double>(wallMicros) / static_cast<double>(wire) : 0.0;
}

double TransferFigures::cpuPercent() const
{
    return wallMicros > 0 ? 100.0 * static_cast<double>(cpuMicros) / static_cast<double>(wallMicros)
                          : 0.0;
}

qint64 processCpuMicros()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

TransferFigures measure(const std::function<void()> &run)
{
    QElapsedTimer wall;
    const qint64 cpuBefore = processCpuMicros();
    wall.start();
    run();
    TransferFigures figures;
    figures.wallMicros = wall.nsecsElapsed() / 1000;
    figures.cpuMicros = processCpuMicros() - cpuBefore;
    return figures;
}

QString figuresHeader()
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
        .arg(QStringLiteral("run"), -16)
        .arg(QStringLiteral("outcome"), -8)
        .arg(QStringLiteral("sent"), 6)
        .arg(QStringLiteral("received"), 9)
        .arg(QStringLiteral("wall s"), 8)
        .arg(QStringLiteral("wire s"), 8)
        .arg(QStringLiteral("wall/wire"), 9)
        .arg(QStringLiteral("CPU %"), 7)
        .arg(QStringLiteral("passes"), 8);
}

QString figuresRow(const QString &run, const QString &outcome, const TransferFigures &figures)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
        .arg(run, -16)
        .arg(outcome, -8)
        .arg(figures.bytesSent, 6)
        .arg(figures.bytesReceived, 9)
        .arg(static_cast<double>(figures.wallMicros) / 1e6, 8, 'f', 3)
        .arg(static_cast<double>(figures.wireMicros()) / 1e6, 8, 'f', 3)
        .arg(figures.wallToWire(), 9, 'f', 3)
        .arg(figures.cpuPercent(), 7, 'f', 2)
        .arg(static_cast<qlonglong>(figures.waitPasses), 8);
}
