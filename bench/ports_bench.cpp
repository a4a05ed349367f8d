#include "ports_bench.h"

#include "counting_serial_line.h"
#include "paced_switch.h"
#include "transfer_figures.h"

#include "image/factory_image.h"
#include "link/line_factory.h"
#include "multi_port_run.h"

#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <memory>

namespace
{

constexpr int kPortCounts[] = {1, 2, 4};

struct ByteTotals {
    std::atomic<qint64> sent{0};
    std::atomic<qint64> received{0};
};

// A port's line, made on the port's own thread, that adds the bytes it saw to the totals of the
// run when it goes.
class TalliedLine : public CountingSerialLine
{
public:
    TalliedLine(std::unique_ptr<SerialLine> port, ByteTotals &totals)
        : CountingSerialLine(*port), port_(std::move(port)), totals_(totals)
    {
    }
    ~TalliedLine() override
    {
        close();
        totals_.sent += bytesSent();
        totals_.received += bytesReceived();
    }

private:
    std::unique_ptr<SerialLine> port_;
    ByteTotals &totals_;
};

class BenchObserver : public PortsObserver
{
public:
    void message(int port, const QString &text, const QString &reason) override
    {
        std::fprintf(stderr, "port %d says: %s%s%s\n", port + 1, qPrintable(text),
                     reason.isEmpty() ? "" : " ", qPrintable(reason));
    }
    void progress(int, const ProgressState &) override {}
    bool wantsProgress() const override { return false; }
};

QString header()
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
        .arg(QStringLiteral("ports run"), -16)
        .arg(QStringLiteral("outcome"), -8)
        .arg(QStringLiteral("wall s"), 8)
        .arg(QStringLiteral("one wire s"), 10)
        .arg(QStringLiteral("wall/wire"), 9)
        .arg(QStringLiteral("CPU %"), 7)
        .arg(QStringLiteral("CPU %/port"), 10);
}

// Runs the command on every simulator at once; the figures are those of one switch's bytes
// against the wall time of them all.
bool timePorts(CliOptions options, int model, const QStringList &ports, QTextStream &out)
{
    options.portArguments = ports;
    options.devices = ports;
    const int count = static_cast<int>(ports.size());
    ByteTotals totals;
    const SerialLineFactory makeLine = [&totals](const QString &device, LinkClock &clock) {
        return std::make_unique<TalliedLine>(makeSerialLine(device, clock), totals);
    };
    BenchObserver observer;
    WriteTarget target;
    target.image = factoryImage(model);
    std::vector<PortOutcome> outcomes;
    TransferFigures figures =
        measure([&] { outcomes = runPortsAtOnce(options, target, makeLine, observer); });
    figures.bytesSent = totals.sent / count;
    figures.bytesReceived = totals.received / count;
    bool ok = true;
    for (const PortOutcome &outcome : outcomes)
        ok = ok && outcome.status == ExitStatus::Done;
    const QString kind =
        options.command == CliCommand::Read ? QStringLiteral("Read") : QStringLiteral("Write");
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
               .arg(QStringLiteral("%1 x%2 m%3").arg(kind).arg(count).arg(model), -16)
               .arg(ok ? QStringLiteral("ok") : QStringLiteral("FAILED"), -8)
               .arg(static_cast<double>(figures.wallMicros) / 1e6, 8, 'f', 3)
               .arg(static_cast<double>(figures.wireMicros()) / 1e6, 10, 'f', 3)
               .arg(figures.wallToWire(), 9, 'f', 3)
               .arg(figures.cpuPercent(), 7, 'f', 2)
               .arg(figures.cpuPercent() / count, 10, 'f', 2)
        << Qt::endl;
    return ok;
}

} // namespace

bool benchPorts(int model, int repeat, std::optional<Ser2netProcess::Mode> via, QTextStream &out)
{
    out << header() << Qt::endl;
    bool allDone = true;
    for (const int count : kPortCounts) {
        std::vector<std::unique_ptr<PacedSwitch>> switches;
        QStringList ports;
        for (int i = 0; i < count; ++i) {
            switches.push_back(std::make_unique<PacedSwitch>());
            if (!switches.back()->start(model, via))
                return false;
            ports << switches.back()->portName();
        }
        QTemporaryDir files;
        CliOptions options;
        options.model = model;
        options.filePath = files.filePath(QStringLiteral("read-{port}.bin"));
        for (int i = 0; i < repeat; ++i) {
            options.command = CliCommand::Read;
            allDone = timePorts(options, model, ports, out) && allDone;
            options.command = CliCommand::Write;
            allDone = timePorts(options, model, ports, out) && allDone;
        }
    }
    return allDone;
}
